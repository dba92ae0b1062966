// luv.cpp - RGB to and from CIE LUV (D65), in single precision. L* is scaled
// to 0..255, u* from -134..220 and v* from -140..122 to 0..255.
#include <algorithm>
#include <array>
#include <cmath>

#include "dispatch/primitives.h"
#include "primitives/color/cie.h"
#include "primitives/color/color_conversion.h"

namespace fc::color {
namespace {

// L* (0..100) of relative luminance t (0..1): the cube-root curve with its
// linear segment near black.
double lightnessOf(double t) { return t > 0.008856 ? 116.0 * std::cbrt(t) - 16.0 : 903.3 * t; }

// L byte of each rounded luminance k = 0..255: 2.55 * L*(k / 255), rounded to
// nearest. Begins 0, 9, 18, 26 and ends 254, 255, 255.
std::array<Ipp8u, 256> makeLightnessTable() {
  std::array<Ipp8u, 256> table{};
  for (int k = 0; k < 256; ++k) table[k] = static_cast<Ipp8u>(std::lround(2.55 * lightnessOf(k / 255.0)));
  return table;
}

const std::array<Ipp8u, 256> kLightnessTable = makeLightnessTable();

// Output L, U, V. Black (luminance rounding to 0) has chromaticity 0, which
// with L = 0 puts U and V at the offsets.
void luvFromRgb(const Ipp8u* in, Ipp8u* out) {
  const Tristimulus t = tristimulusOf(in[0], in[1], in[2]);
  const int k = std::min(static_cast<int>(t.y + kRoundDown), 255);
  const float lightness = kLightnessTable[k];
  float uPrime = 0.0f, vPrime = 0.0f;
  if (k != 0) {
    const float x = t.x / 255.0f, y = t.y / 255.0f, z = t.z / 255.0f;
    const float d = x + 15.0f * y + 3.0f * z;
    uPrime = 4.0f * x / d;
    vPrime = 9.0f * y / d;
  }
  storePixel(out, static_cast<int>(lightness),
             truncLimited(3.672316f * lightness * (uPrime - 0.197839f) + 97.025429f),
             truncLimited(4.961832f * lightness * (vPrime - 0.468342f) + 136.759552f));
}

// Input L, U, V. L = 0 is black whatever U and V say.
void rgbFromLuv(const Ipp8u* in, Ipp8u* out) {
  const float lStar = static_cast<float>(in[0]) * 100.0f / 255.0f;
  if (lStar < 0.00009f) {
    storePixel(out, 0, 0, 0);
    return;
  }
  float y;
  if (lStar < 7.9996247f) {
    y = lStar / 903.3f;
  } else {
    const float c = (lStar + 16.0f) / 116.0f;
    y = c * c * c;
  }
  y = 255.0f * y;
  const float uStar = static_cast<float>(in[1]) * 354.0f / 255.0f - 134.0f;
  const float vStar = static_cast<float>(in[2]) * 262.0f / 255.0f - 140.0f;
  const float uPrime = uStar / (13.0f * lStar) + 0.1978394f;
  const float vPrime = vStar / (13.0f * lStar) + 0.4683422f;
  const float x = 2.25f * uPrime * y / vPrime;
  const float z = 3.0f * y / vPrime - 5.0f * y - x / 3.0f;
  const RgbBytes rgb = rgbOf({x, y, z}, kRoundDown);
  storePixel(out, rgb.r, rgb.g, rgb.b);
}

}  // namespace
}  // namespace fc::color

FC_DEFINE_PX_CONVERSION(ippiRGBToLUV_8u_C3R, fc::color::luvFromRgb)
FC_DEFINE_PX_CONVERSION(ippiLUVToRGB_8u_C3R, fc::color::rgbFromLuv)
