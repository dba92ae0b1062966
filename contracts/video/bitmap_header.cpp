#include "contracts/video/bitmap_header.h"

namespace fc {

TFCFourCC MakeFourCC(std::string_view text) {
  TFCFourCC code = 0;
  for (int i = 0; i < 4; ++i) {
    const unsigned char c = i < static_cast<int>(text.size()) ? static_cast<unsigned char>(text[i]) : ' ';
    code |= static_cast<TFCFourCC>(c) << (8 * i);
  }
  return code;
}

std::string FourCCText(TFCFourCC code) {
  std::string text(4, ' ');
  for (int i = 0; i < 4; ++i) {
    const char c = static_cast<char>((code >> (8 * i)) & 0xFF);
    text[i] = c >= 0x20 && c < 0x7F ? c : '?';
  }
  return text;
}

int BitCountOf(int format) {
  if (!IsVideoFormat(format)) return 0;
  return 8 * BytesPerPixelOf(static_cast<TFCVideoFormat>(format));
}

std::optional<TFCVideoFormat> FrameFormatOf(const TFCBitmapInfoHeader& header) {
  if (header.bitCount == 16 && header.compression == MakeFourCC("YUY2")) return vfYUY2;
  if (header.compression != kBitmapUncompressed) return std::nullopt;
  switch (header.bitCount) {
    case 24: return vfRGB24;
    case 8: return vfGray8;
    case 32: return vfRGB32;
    default: return std::nullopt;
  }
}

TFCBitmapInfoHeader UncompressedHeader(int width, int height, TFCVideoFormat format) {
  TFCBitmapInfoHeader header;
  header.width = width;
  header.height = height;
  header.bitCount = static_cast<std::uint16_t>(BitCountOf(format));
  header.compression = format == vfYUY2 ? MakeFourCC("YUY2") : kBitmapUncompressed;
  if (width > 0 && height > 0)
    header.sizeImage = static_cast<std::uint32_t>(RowBytesOf(format, width)) * static_cast<std::uint32_t>(height);
  return header;
}

}  // namespace fc
