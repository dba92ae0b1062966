// luv_kernels.h - RGB to and from CIE LUV (D65), in single precision. L* is
// scaled to 0..255, u* from -134..220 and v* from -140..122 to 0..255.
#pragma once

#include <array>

#include "primitives/color/cie.h"
#include "primitives/color/color_conversion.h"

namespace fc::color {
inline namespace FC_VARIANT_TAG {

namespace lightness {

// Cube root of t in (0, 1] by Newton's method from above, which converges
// monotonically; usable at compile time.
constexpr double cubeRoot(double t) {
  double x = 1.0;
  for (int i = 0; i < 100; ++i) x -= (x * x * x - t) / (3.0 * x * x);
  return x;
}

// L* (0..100) of relative luminance t (0..1): the cube-root curve with its
// linear segment near black.
constexpr double lStar(double t) { return t > 0.008856 ? 116.0 * cubeRoot(t) - 16.0 : 903.3 * t; }

// L byte of each rounded luminance k = 0..255: 2.55 * L*(k / 255), rounded to
// nearest. Begins 0, 9, 18, 26 and ends 254, 255, 255.
constexpr std::array<std::int32_t, 256> makeTable() {
  std::array<std::int32_t, 256> table{};
  for (int k = 0; k < 256; ++k) table[k] = static_cast<std::int32_t>(2.55 * lStar(k / 255.0) + 0.5);
  return table;
}

inline constexpr std::array<std::int32_t, 256> kTable = makeTable();

}  // namespace lightness

// Output L, U, V. Black (luminance rounding to 0) has chromaticity 0, which
// with L = 0 puts U and V at the offsets.
inline void luvFromRgb(const Block& in, Block& out) {
  for (int i = 0; i < kBlockPixels; ++i) {
    const Tristimulus t = tristimulusOf(in.c0[i], in.c1[i], in.c2[i]);
    const std::int32_t rounded = static_cast<std::int32_t>(t.y + kRoundDown);
    const std::int32_t k = rounded < 255 ? rounded : 255;
    const float lightnessByte = static_cast<float>(lightness::kTable[k]);
    const float x = t.x / 255.0f, y = t.y / 255.0f, z = t.z / 255.0f;
    const float d = x + 15.0f * y + 3.0f * z;
    const float uChromaticity = 4.0f * x / d;
    const float vChromaticity = 9.0f * y / d;
    const float uPrime = k != 0 ? uChromaticity : 0.0f;
    const float vPrime = k != 0 ? vChromaticity : 0.0f;
    out.c0[i] = lightness::kTable[k];
    out.c1[i] = truncLimited(3.672316f * lightnessByte * (uPrime - 0.197839f) + 97.025429f);
    out.c2[i] = truncLimited(4.961832f * lightnessByte * (vPrime - 0.468342f) + 136.759552f);
  }
}

// Input L, U, V. L = 0 is black whatever U and V say.
inline void rgbFromLuv(const Block& in, Block& out) {
  for (int i = 0; i < kBlockPixels; ++i) {
    const float lStar = static_cast<float>(in.c0[i]) * 100.0f / 255.0f;
    const float c = (lStar + 16.0f) / 116.0f;
    const float linear = lStar / 903.3f;
    const float cube = c * c * c;
    const float y = 255.0f * (lStar < 7.9996247f ? linear : cube);
    const float uStar = static_cast<float>(in.c1[i]) * 354.0f / 255.0f - 134.0f;
    const float vStar = static_cast<float>(in.c2[i]) * 262.0f / 255.0f - 140.0f;
    const float uPrime = uStar / (13.0f * lStar) + 0.1978394f;
    const float vPrime = vStar / (13.0f * lStar) + 0.4683422f;
    const float x = 2.25f * uPrime * y / vPrime;
    const float z = 3.0f * y / vPrime - 5.0f * y - x / 3.0f;
    const RgbValues rgb = rgbOf({x, y, z}, kRoundDown);
    const bool black = lStar < 0.00009f;
    out.c0[i] = black ? 0 : rgb.r;
    out.c1[i] = black ? 0 : rgb.g;
    out.c2[i] = black ? 0 : rgb.b;
  }
}

}  // namespace FC_VARIANT_TAG
}  // namespace fc::color
