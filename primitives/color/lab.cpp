// lab.cpp - BGR to and from CIE Lab (D65), in single precision. The pair
// works on blue-green-red pixels: byte 0 is blue, byte 2 red.
#include <cmath>

#include "dispatch/primitives.h"
#include "primitives/color/cie.h"
#include "primitives/color/color_conversion.h"

namespace fc::color {
namespace {

// White point of the 8-bit scale: the tristimulus values of (255, 255, 255).
constexpr float kWhiteX = 242.366f;
constexpr float kWhiteY = 255.0f;
constexpr float kWhiteZ = 277.632f;

// The Lab companding function: a cube root above the knee, a line below it.
float labCurve(float t) { return t > 0.008856f ? std::pow(t, 0.33333334f) : 7.787f * t + 0.137931f; }

// Output L (0..255 for L* 0..100), a and b offset by 128.
void labFromBgr(const Ipp8u* in, Ipp8u* out) {
  const Tristimulus t = tristimulusOf(in[2], in[1], in[0]);
  const float x = t.x / kWhiteX, y = t.y / kWhiteY, z = t.z / kWhiteZ;
  const float fx = labCurve(x), fy = labCurve(y), fz = labCurve(z);
  const float lStar = y > 0.008856f ? 116.0f * fy - 16.0f : 903.3f * y;
  storePixel(out, truncLimited(lStar * 255.0f / 100.0f + 0.5f), truncLimited(500.0f * (fx - fy) + 128.5f),
             truncLimited(200.0f * (fy - fz) + 128.5f));
}

// Input L, a, b; output blue, green, red. The cube is used at all levels,
// without the linear segment of the forward curve.
void bgrFromLab(const Ipp8u* in, Ipp8u* out) {
  const float fy = (static_cast<float>(in[0]) * 100.0f / 255.0f + 16.0f) / 116.0f;
  const float fx = static_cast<float>(in[1] - 128) / 500.0f + fy;
  const float fz = fy - static_cast<float>(in[2] - 128) / 200.0f;
  const RgbBytes rgb = rgbOf({kWhiteX * (fx * fx * fx), kWhiteY * (fy * fy * fy), kWhiteZ * (fz * fz * fz)}, 0.5f);
  storePixel(out, rgb.b, rgb.g, rgb.r);
}

}  // namespace
}  // namespace fc::color

FC_DEFINE_PX_CONVERSION(ippiBGRToLab_8u_C3R, fc::color::labFromBgr)
FC_DEFINE_PX_CONVERSION(ippiLabToBGR_8u_C3R, fc::color::bgrFromLab)
