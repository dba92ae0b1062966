#include "contracts/video/video_format.h"

namespace fc {

const TEnumInfo& VideoFormatInfo() {
  static const TEnumInfo info("TFCVideoFormat", {"vfRGB24", "vfRGB32", "vfGray8", "vfYUY2"});
  return info;
}

int BytesPerPixelOf(TFCVideoFormat format) {
  switch (format) {
    case vfRGB32: return 4;
    case vfGray8: return 1;
    case vfYUY2: return 2;
    case vfRGB24: break;
  }
  return 3;
}

int RowBytesOf(TFCVideoFormat format, int width) {
  if (format == vfYUY2) return (width + 1) / 2 * 4;
  return width * BytesPerPixelOf(format);
}

bool IsVideoFormat(int value) { return value >= vfRGB24 && value <= vfYUY2; }

}  // namespace fc
