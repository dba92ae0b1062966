// cie.h - the linear RGB <-> CIE XYZ (D65) matrices shared by the LUV and Lab
// conversions, in single precision. Internal to the library; compiled per
// instruction set like the kernels that use it (see color_conversion.h).
#pragma once

#include "primitives/color/color_conversion.h"

namespace fc::color {
inline namespace FC_VARIANT_TAG {

/// Tristimulus values of a colour, in the scale of its inputs.
struct Tristimulus {
  float x, y, z;
};

/// X, Y, Z of 8-bit R, G, B, unscaled (white gives about 242, 255, 278).
inline Tristimulus tristimulusOf(std::int32_t red, std::int32_t green, std::int32_t blue) {
  const float r = static_cast<float>(red), g = static_cast<float>(green), b = static_cast<float>(blue);
  return {0.412453f * r + 0.35758f * g + 0.180423f * b, 0.212671f * r + 0.71516f * g + 0.072169f * b,
          0.019334f * r + 0.119193f * g + 0.950227f * b};
}

/// Red, green and blue channel values.
struct RgbValues {
  std::int32_t r, g, b;
};

/// R, G, B of X, Y, Z in the 8-bit scale: each matrix row plus `roundOffset`,
/// truncated and limited to 0..255.
inline RgbValues rgbOf(Tristimulus t, float roundOffset) {
  return {truncLimited(3.240479f * t.x - 1.53715f * t.y - 0.498535f * t.z + roundOffset),
          truncLimited(-0.969256f * t.x + 1.875991f * t.y + 0.041556f * t.z + roundOffset),
          truncLimited(0.055648f * t.x - 0.204043f * t.y + 1.057311f * t.z + roundOffset)};
}

}  // namespace FC_VARIANT_TAG
}  // namespace fc::color
