// xyz.cpp - RGB to and from CIE XYZ (D65), in 32-bit fixed point, scale 2^16.
#include <algorithm>

#include "dispatch/primitives.h"
#include "primitives/color/color_conversion.h"

namespace fc::color {
namespace {

// The X and Y rows sum to less than 2^16, so X and Y fit a byte; the Z row
// sums to about 1.09 * 2^16 and white's Z (277) is held at 255.
void xyzFromRgb(const Ipp8u* in, Ipp8u* out) {
  const std::int32_t r = in[0], g = in[1], b = in[2];
  storePixel(out, (27030 * r + 23434 * g + 11824 * b) >> 16, (13937 * r + 46868 * g + 4729 * b) >> 16,
             std::min((1267 * r + 7811 * g + 62274 * b) >> 16, 255));
}

void rgbFromXyz(const Ipp8u* in, Ipp8u* out) {
  const std::int32_t x = in[0], y = in[1], z = in[2];
  storePixel(out, clampByte((212368 * x - 100738 * y - 32671 * z) >> 16),
             clampByte((-63521 * x + 122944 * y + 2723 * z) >> 16),
             clampByte((3646 * x - 13372 * y + 69291 * z) >> 16));
}

}  // namespace
}  // namespace fc::color

FC_DEFINE_PX_CONVERSION(ippiRGBToXYZ_8u_C3R, fc::color::xyzFromRgb)
FC_DEFINE_PX_CONVERSION(ippiXYZToRGB_8u_C3R, fc::color::rgbFromXyz)
