// bitmap_header.h - the 40-byte bitmap header record that describes a video
// stream to a codec, and the four-character codes that name codecs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "contracts/video/video_format.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// A four-character code as stored in a header: the first character in the
/// lowest byte ("MJPG" is 0x47504A4D).
using TFCFourCC = std::uint32_t;

/// The code of four characters; shorter text is padded with spaces.
FC_COMPONENTS_API TFCFourCC MakeFourCC(std::string_view text);
/// The four characters of a code (non-printable bytes as '?').
FC_COMPONENTS_API std::string FourCCText(TFCFourCC code);

/// `compression` of uncompressed red-green-blue pixels.
inline constexpr std::uint32_t kBitmapUncompressed = 0;

/// The bitmap header record: the size of the record (40), the frame size,
/// one plane, the bits per pixel, the compression (0 for uncompressed pixels,
/// else the codec's four-character code), the bytes of one image and fields
/// that are kept but not used here. Uncompressed images are stored with
/// packed rows, top row first.
struct FC_COMPONENTS_API TFCBitmapInfoHeader {
  std::uint32_t size = 40;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 0;
  std::uint32_t compression = kBitmapUncompressed;
  std::uint32_t sizeImage = 0;
  std::int32_t xPelsPerMeter = 0;
  std::int32_t yPelsPerMeter = 0;
  std::uint32_t clrUsed = 0;
  std::uint32_t clrImportant = 0;

  bool operator==(const TFCBitmapInfoHeader&) const = default;
};
static_assert(sizeof(TFCBitmapInfoHeader) == 40, "the record is 40 bytes");

/// The bits per pixel of frames of `format` as a header gives them (24, 16
/// for YUY2, 8 for grey, 32), or 0 for a value that is no format.
FC_COMPONENTS_API int BitCountOf(int format);
/// The frame format a header of uncompressed pixels describes: 24 bits
/// vfRGB24, 16 bits with compression "YUY2" vfYUY2, 8 bits vfGray8, 32 bits
/// vfRGB32; nothing for anything else.
FC_COMPONENTS_API std::optional<TFCVideoFormat> FrameFormatOf(const TFCBitmapInfoHeader& header);
/// The header of uncompressed frames of that size and format (compression 0,
/// or "YUY2" for vfYUY2; the image size of packed rows).
FC_COMPONENTS_API TFCBitmapInfoHeader UncompressedHeader(int width, int height, TFCVideoFormat format);

}  // namespace fc
