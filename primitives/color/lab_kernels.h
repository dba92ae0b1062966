// lab_kernels.h - BGR to and from CIE Lab (D65), in single precision. The
// pair works on blue-green-red pixels: byte 0 is blue, byte 2 red.
#pragma once

#include <math.h>

#include "primitives/color/cie.h"
#include "primitives/color/color_conversion.h"

namespace fc::color {
inline namespace FC_VARIANT_TAG {

// White point of the 8-bit scale: the tristimulus values of (255, 255, 255).
inline constexpr float kWhiteX = 242.366f;
inline constexpr float kWhiteY = 255.0f;
inline constexpr float kWhiteZ = 277.632f;

// The knee of the Lab companding function: a cube root above, a line below.
inline constexpr float kLabKnee = 0.008856f;

inline float labLine(float t) { return 7.787f * t + 0.137931f; }

// The Lab companding function as defined, with the C library's power.
inline float labCurve(float t) { return t > kLabKnee ? powf(t, 0.33333334f) : labLine(t); }

// The cube root of t (0 < t < 2): a first guess of t^(-1/3) from the bits of
// t, three Newton steps for it, which need no division, and t * t^(-2/3),
// all in single precision. Unlike the library's power it can be vectorised.
// The guess is within 4 % and each step squares the relative error (times
// two), so after three steps only the roundings remain: about eight float
// steps in all, so the estimate lies within 1.2e-6 of powf(t, 0.33333334f)
// for t <= 2, counting one float step for powf and 5e-8 for the exponent not
// being exactly 1/3.
inline float cubeRootEstimate(float t) {
  const std::uint32_t guess = 0x54A2FA8Cu - __builtin_bit_cast(std::uint32_t, t) / 3u;
  float r = __builtin_bit_cast(float, guess);
  for (int step = 0; step < 3; ++step) r = r * (4.0f - t * r * r * r) * (1.0f / 3.0f);
  return t * r * r;
}

// The three outputs before truncation, from the companded values.
struct LabValues {
  float l, a, b;
};

inline LabValues labValuesOf(float y, float fx, float fy, float fz) {
  const float curved = 116.0f * fy - 16.0f;
  const float linear = 903.3f * y;
  const float lStar = y > kLabKnee ? curved : linear;
  return {lStar * 255.0f / 100.0f + 0.5f, 500.0f * (fx - fy) + 128.5f, 200.0f * (fy - fz) + 128.5f};
}

// Whether v might truncate differently if a companded value moved by the
// cube-root estimate's error: that moves a, the most sensitive output, by at
// most 500 * 2.4e-6 plus a few roundings, less than the margin.
// `whole` is v truncated.
inline bool nearInteger(float v, std::int32_t whole) {
  constexpr float kMargin = 2e-3f;
  const float fraction = v - static_cast<float>(whole);
  return (fraction < kMargin) | (fraction > 1.0f - kMargin);
}

// Output L (0..255 for L* 0..100), a and b offset by 128. Each pixel is first
// converted with the cube-root estimate in a vectorised loop; the few whose
// results lie so close to an integer that the estimate could tip them are
// converted again with the library's power, so every result is the one the
// power gives. For 8-bit colours L* lies in 0..100 and a and b stay within
// 20..227 (the tests convert every colour), so the results truncate in range
// without limits.
inline void labFromBgr(const Block& in, Block& out) {
  float x[kBlockPixels], y[kBlockPixels], z[kBlockPixels];
  std::int32_t unsure[kBlockPixels];
  for (int i = 0; i < kBlockPixels; ++i) {
    const Tristimulus t = tristimulusOf(in.c2[i], in.c1[i], in.c0[i]);
    x[i] = t.x / kWhiteX;
    y[i] = t.y / kWhiteY;
    z[i] = t.z / kWhiteZ;
    const float rootX = cubeRootEstimate(x[i]), rootY = cubeRootEstimate(y[i]), rootZ = cubeRootEstimate(z[i]);
    const float lineX = labLine(x[i]), lineY = labLine(y[i]), lineZ = labLine(z[i]);
    const LabValues v = labValuesOf(y[i], x[i] > kLabKnee ? rootX : lineX, y[i] > kLabKnee ? rootY : lineY,
                                    z[i] > kLabKnee ? rootZ : lineZ);
    const std::int32_t l = truncInRange(v.l), a = truncInRange(v.a), b = truncInRange(v.b);
    out.c0[i] = l;
    out.c1[i] = a;
    out.c2[i] = b;
    // Integer ORs rather than || keep the loop free of branches.
    unsure[i] = std::int32_t{nearInteger(v.l, l)} | std::int32_t{nearInteger(v.a, a)} |
                std::int32_t{nearInteger(v.b, b)};
  }
  for (int i = 0; i < kBlockPixels; ++i) {
    if (!unsure[i]) continue;
    const LabValues v = labValuesOf(y[i], labCurve(x[i]), labCurve(y[i]), labCurve(z[i]));
    out.c0[i] = truncInRange(v.l);
    out.c1[i] = truncInRange(v.a);
    out.c2[i] = truncInRange(v.b);
  }
}

// Input L, a, b; output blue, green, red. The cube is used at all levels,
// without the linear segment of the forward curve.
inline void bgrFromLab(const Block& in, Block& out) {
  for (int i = 0; i < kBlockPixels; ++i) {
    const float fy = (static_cast<float>(in.c0[i]) * 100.0f / 255.0f + 16.0f) / 116.0f;
    const float fx = static_cast<float>(in.c1[i] - 128) / 500.0f + fy;
    const float fz = fy - static_cast<float>(in.c2[i] - 128) / 200.0f;
    const RgbValues rgb =
        rgbOf({kWhiteX * (fx * fx * fx), kWhiteY * (fy * fy * fy), kWhiteZ * (fz * fz * fz)}, 0.5f);
    out.c0[i] = rgb.b;
    out.c1[i] = rgb.g;
    out.c2[i] = rgb.r;
  }
}

}  // namespace FC_VARIANT_TAG
}  // namespace fc::color
