// xyz_kernels.h - RGB to and from CIE XYZ (D65), in 32-bit fixed point,
// scale 2^16.
#pragma once

#include "primitives/color/color_conversion.h"

namespace fc::color {
inline namespace FC_VARIANT_TAG {

// The X and Y rows sum to less than 2^16, so X and Y fit a byte; the Z row
// sums to about 1.09 * 2^16 and white's Z (277) is held at 255.
inline void xyzFromRgb(const Block& in, Block& out) {
  for (int i = 0; i < kBlockPixels; ++i) {
    const std::int32_t r = in.c0[i], g = in.c1[i], b = in.c2[i];
    const std::int32_t z = (1267 * r + 7811 * g + 62274 * b) >> 16;
    out.c0[i] = (27030 * r + 23434 * g + 11824 * b) >> 16;
    out.c1[i] = (13937 * r + 46868 * g + 4729 * b) >> 16;
    out.c2[i] = z < 255 ? z : 255;
  }
}

inline void rgbFromXyz(const Block& in, Block& out) {
  for (int i = 0; i < kBlockPixels; ++i) {
    const std::int32_t x = in.c0[i], y = in.c1[i], z = in.c2[i];
    out.c0[i] = clampByte((212368 * x - 100738 * y - 32671 * z) >> 16);
    out.c1[i] = clampByte((-63521 * x + 122944 * y + 2723 * z) >> 16);
    out.c2[i] = clampByte((3646 * x - 13372 * y + 69291 * z) >> 16);
  }
}

}  // namespace FC_VARIANT_TAG
}  // namespace fc::color
