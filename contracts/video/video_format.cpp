#include "contracts/video/video_format.h"

namespace fc {

const TEnumInfo& VideoFormatInfo() {
  static const TEnumInfo info("TFCVideoFormat", {"vfRGB24", "vfRGB32", "vfGray8", "vfYUY2"});
  return info;
}

bool IsVideoFormat(int value) { return value >= vfRGB24 && value <= vfYUY2; }

}  // namespace fc
