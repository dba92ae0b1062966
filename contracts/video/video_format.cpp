#include "contracts/video/video_format.h"

namespace fc {

const TEnumInfo& VideoFormatInfo() {
  static const TEnumInfo info("TFCVideoFormat", {"vfRGB24", "vfYUY2", "vfGray8", "vfRGB32"});
  return info;
}

bool IsVideoFormat(int value) { return value >= vfRGB24 && value <= vfRGB32; }

}  // namespace fc
