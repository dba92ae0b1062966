// hsv_hls_kernels.h - RGB to and from the hue-based spaces HSV and HLS, in
// single precision. Hue 0..255 stands for 0..360 degrees. Every expression
// keeps the order of its operations: the bytes depend on each rounding.
// Each lane computes all the candidates of a case analysis and selects one;
// candidates of cases not taken may be NaN or infinite and are dropped. No
// arithmetic sits inside a selection: an operation that might trap is not
// made conditional, so the compiler is free to vectorise.
#pragma once

#include "primitives/color/color_conversion.h"

namespace fc::color {
inline namespace FC_VARIANT_TAG {

// Output H, S, V. Hue is found in sixths of the circle from the channel that
// holds the maximum; where two channels share it, the later test (G, then B)
// decides. Greys (black included) have hue and saturation 0.
inline void hsvFromRgb(const Block& in, Block& out) {
  for (int i = 0; i < kBlockPixels; ++i) {
    const std::int32_t r = in.c0[i], g = in.c1[i], b = in.c2[i];
    const std::int32_t v = max3(r, g, b);
    const bool grey = v == min3(r, g, b);
    const float d = static_cast<float>(v - min3(r, g, b));
    const std::int32_t saturation = truncLimited(255.0f * d / static_cast<float>(v) + kRoundDown);
    const float k = 1.0f / d;
    const float cr = static_cast<float>(v - r) * k;
    const float cg = static_cast<float>(v - g) * k;
    const float cb = static_cast<float>(v - b) * k;
    const float fromRed = static_cast<float>(g - b) * k;
    const float fromGreen = 2.0f + cr - cb;
    const float fromBlue = 4.0f + cg - cr;
    float h = v == r ? fromRed : 0.0f;
    h = v == g ? fromGreen : h;
    h = v == b ? fromBlue : h;
    h = h * 255.0f / 6.0f;
    const float wrapped = h + 255.0f;
    h = h < 0.0f ? wrapped : h;
    out.c0[i] = grey ? 0 : truncLimited(h + kRoundDown);
    out.c1[i] = grey ? 0 : saturation;
    out.c2[i] = v;
  }
}

// Input H, S, V; V is used unscaled. H = 255 is hue 0; S = 0 is grey V.
inline void rgbFromHsv(const Block& in, Block& out) {
  for (int i = 0; i < kBlockPixels; ++i) {
    const std::int32_t hue = in.c0[i], value = in.c2[i];
    const float s = static_cast<float>(in.c1[i]) / 255.0f;
    const float v = static_cast<float>(value);
    const float scaled = static_cast<float>(hue) * 360.0f / 255.0f / 60.0f;
    const float h = hue < 255 ? scaled : 0.0f;
    // h lies in 0..6, where truncation is the floor.
    const std::int32_t sector = static_cast<std::int32_t>(h);
    const float f = h - static_cast<float>(sector);
    // s and f lie in 0..1 and v in 0..255, so each level lies in 0..255.5
    // and truncates in range; the top level truncates to V itself.
    const std::int32_t p = truncInRange((1.0f - s) * v + kRoundDown);
    const std::int32_t q = truncInRange((1.0f - s * f) * v + kRoundDown);
    const std::int32_t t = truncInRange((1.0f - s * (1.0f - f)) * v + kRoundDown);
    const std::int32_t top = value;
    // Sectors 0..5 give (top, t, p) (q, top, p) (p, top, t) (p, q, top)
    // (t, p, top) (top, p, q). "sector < n" is tested as "h < n", the same
    // for h >= 0; one two-way choice at a time keeps the selection free of
    // jumps.
    std::int32_t red = h < 5.0f ? t : top;
    red = h < 4.0f ? p : red;
    red = h < 2.0f ? q : red;
    red = h < 1.0f ? top : red;
    std::int32_t green = h < 4.0f ? q : p;
    green = h < 3.0f ? top : green;
    green = h < 1.0f ? t : green;
    std::int32_t blue = h < 5.0f ? top : q;
    blue = h < 3.0f ? t : blue;
    blue = h < 2.0f ? p : blue;
    const bool grey = in.c1[i] == 0;
    out.c0[i] = grey ? value : red;
    out.c1[i] = grey ? value : green;
    out.c2[i] = grey ? value : blue;
  }
}

inline float max3(float a, float b, float c) {
  const float ab = a > b ? a : b;
  return ab > c ? ab : c;
}

inline float min3(float a, float b, float c) {
  const float ab = a < b ? a : b;
  return ab < c ? ab : c;
}

// Output H, L, S. Greys have hue and saturation 0. Each output takes one
// division: the case analysis picks the denominator (and for the hue the
// numerator and the offset of its sixth) before dividing, which computes
// what dividing in every case and picking the result would. Greys divide by
// 1: their differences are 0, so hue and saturation come out 0, and every
// result lies in 0..255.5 and truncates in range.
inline void hlsFromRgb(const Block& in, Block& out) {
  for (int i = 0; i < kBlockPixels; ++i) {
    const float r = static_cast<float>(in.c0[i]) / 255.0f;
    const float g = static_cast<float>(in.c1[i]) / 255.0f;
    const float b = static_cast<float>(in.c2[i]) / 255.0f;
    const float mx = max3(r, g, b);
    const float mn = min3(r, g, b);
    const float lightness = 0.5f * (mx + mn);
    const float d = mx - mn;
    const bool grey = d == 0.0f;
    const float denominator = lightness > 0.5f ? 2.0f - (mx + mn) : mx + mn;
    const float saturation = d / (grey ? 1.0f : denominator);
    // From green: 60 (b - r) / d + 120; from blue: 60 (r - g) / d + 240;
    // from red: 60 (g - b) / d, where adding 0 could only turn -0 into +0.
    const bool fromRed = r == mx, fromGreen = !fromRed && g == mx;
    float difference = fromGreen ? b - r : r - g;
    difference = fromRed ? g - b : difference;
    float offset = fromGreen ? 120.0f : 240.0f;
    offset = fromRed ? 0.0f : offset;
    float hue = 60.0f * difference / (grey ? 1.0f : d) + offset;
    const float wrapped = hue + 360.0f;
    hue = hue < 0.0f ? wrapped : hue;
    out.c0[i] = truncInRange(hue * 255.0f / 360.0f + kRoundDown);
    out.c1[i] = truncInRange(255.0f * lightness + kRoundDown);
    out.c2[i] = truncInRange(255.0f * saturation + kRoundDown);
  }
}

// One channel of HLS to RGB: a piecewise-linear function of the angle a
// between the lowest level m1 and the highest m2.
inline float hlsChannel(float m1, float m2, float a) {
  const float rising = m1 + (m2 - m1) * a / 60.0f;
  const float falling = m1 + (m2 - m1) * (240.0f - a) / 60.0f;
  float level = a < 240.0f ? falling : m1;
  level = a < 180.0f ? m2 : level;
  return a < 60.0f ? rising : level;
}

// Input H, L, S. S = 0 is grey L.
inline void rgbFromHls(const Block& in, Block& out) {
  for (int i = 0; i < kBlockPixels; ++i) {
    const float h = static_cast<float>(in.c0[i]) * 360.0f / 255.0f;
    const float l = static_cast<float>(in.c1[i]) / 255.0f;
    const float s = static_cast<float>(in.c2[i]) / 255.0f;
    const float m2High = l + s - l * s;
    const float m2Low = l * (1.0f + s);
    const float m2 = l > 0.5f ? m2High : m2Low;
    const float m1 = 2.0f * l - m2;
    const float redAngle = h + 120.0f;
    const float redWrapped = redAngle - 360.0f;
    const float blueAngle = h - 120.0f;
    const float blueWrapped = blueAngle + 360.0f;
    const bool grey = s == 0.0f;
    const float red = grey ? l : hlsChannel(m1, m2, redAngle > 360.0f ? redWrapped : redAngle);
    const float green = grey ? l : hlsChannel(m1, m2, h);
    const float blue = grey ? l : hlsChannel(m1, m2, blueAngle < 0.0f ? blueWrapped : blueAngle);
    out.c0[i] = truncLimited(255.0f * red + kRoundDown);
    out.c1[i] = truncLimited(255.0f * green + kRoundDown);
    out.c2[i] = truncLimited(255.0f * blue + kRoundDown);
  }
}

}  // namespace FC_VARIANT_TAG
}  // namespace fc::color
