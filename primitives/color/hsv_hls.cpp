// hsv_hls.cpp - RGB to and from the hue-based spaces HSV and HLS, in single
// precision. Hue 0..255 stands for 0..360 degrees. Every expression keeps the
// order of its operations: the bytes depend on each rounding.
#include <algorithm>
#include <cmath>

#include "dispatch/primitives.h"
#include "primitives/color/color_conversion.h"

namespace fc::color {
namespace {

// Output H, S, V. Hue is found in sixths of the circle from the channel that
// holds the maximum; where two channels share it, the later test (G, then B)
// decides.
void hsvFromRgb(const Ipp8u* in, Ipp8u* out) {
  const int r = in[0], g = in[1], b = in[2];
  const int v = std::max({r, g, b});
  const int m = std::min({r, g, b});
  if (v == 0 || v == m) {
    storePixel(out, 0, 0, v);
    return;
  }
  const float d = static_cast<float>(v - m);
  const int saturation = truncLimited(255.0f * d / static_cast<float>(v) + kRoundDown);
  const float k = 1.0f / d;
  const float cr = static_cast<float>(v - r) * k;
  const float cg = static_cast<float>(v - g) * k;
  const float cb = static_cast<float>(v - b) * k;
  float h = 0.0f;
  if (v == r) h = static_cast<float>(g - b) * k;
  if (v == g) h = 2.0f + cr - cb;
  if (v == b) h = 4.0f + cg - cr;
  h = h * 255.0f / 6.0f;
  if (h < 0.0f) h += 255.0f;
  storePixel(out, truncLimited(h + kRoundDown), saturation, v);
}

// Input H, S, V; V is used unscaled. H = 255 is hue 0.
void rgbFromHsv(const Ipp8u* in, Ipp8u* out) {
  const int hue = in[0], saturation = in[1], value = in[2];
  if (saturation == 0) {
    storePixel(out, value, value, value);
    return;
  }
  const float s = static_cast<float>(saturation) / 255.0f;
  const float v = static_cast<float>(value);
  const float h = hue < 255 ? static_cast<float>(hue) * 360.0f / 255.0f / 60.0f : 0.0f;
  const float sector = std::floor(h);
  const float f = h - sector;
  const int p = truncLimited((1.0f - s) * v + kRoundDown);
  const int q = truncLimited((1.0f - s * f) * v + kRoundDown);
  const int t = truncLimited((1.0f - s * (1.0f - f)) * v + kRoundDown);
  const int top = truncLimited(v + kRoundDown);
  switch (static_cast<int>(sector)) {
    case 0: storePixel(out, top, t, p); break;
    case 1: storePixel(out, q, top, p); break;
    case 2: storePixel(out, p, top, t); break;
    case 3: storePixel(out, p, q, top); break;
    case 4: storePixel(out, t, p, top); break;
    default: storePixel(out, top, p, q); break;  // sector 5: h < 6 always
  }
}

// Output H, L, S.
void hlsFromRgb(const Ipp8u* in, Ipp8u* out) {
  const float r = static_cast<float>(in[0]) / 255.0f;
  const float g = static_cast<float>(in[1]) / 255.0f;
  const float b = static_cast<float>(in[2]) / 255.0f;
  const float mx = std::max({r, g, b});
  const float mn = std::min({r, g, b});
  const float lightness = 0.5f * (mx + mn);
  const float d = mx - mn;
  const int lightnessByte = truncLimited(255.0f * lightness + kRoundDown);
  if (d == 0.0f) {
    storePixel(out, 0, lightnessByte, 0);
    return;
  }
  const float saturation = lightness > 0.5f ? d / (2.0f - (mx + mn)) : d / (mx + mn);
  float hue;
  if (r != mx)
    hue = g != mx ? 60.0f * (r - g) / d + 240.0f : 60.0f * (b - r) / d + 120.0f;
  else
    hue = 60.0f * (g - b) / d;
  if (hue < 0.0f) hue += 360.0f;
  storePixel(out, truncLimited(hue * 255.0f / 360.0f + kRoundDown), lightnessByte,
             truncLimited(255.0f * saturation + kRoundDown));
}

// One channel of HLS to RGB: a piecewise-linear function of the angle a
// between the lowest level m1 and the highest m2.
float hlsChannel(float m1, float m2, float a) {
  if (a < 60.0f) return m1 + (m2 - m1) * a / 60.0f;
  if (a < 180.0f) return m2;
  if (a < 240.0f) return m1 + (m2 - m1) * (240.0f - a) / 60.0f;
  return m1;
}

// Input H, L, S.
void rgbFromHls(const Ipp8u* in, Ipp8u* out) {
  const float h = static_cast<float>(in[0]) * 360.0f / 255.0f;
  const float l = static_cast<float>(in[1]) / 255.0f;
  const float s = static_cast<float>(in[2]) / 255.0f;
  float red = l, green = l, blue = l;
  if (s != 0.0f) {
    const float m2 = l > 0.5f ? l + s - l * s : l * (1.0f + s);
    const float m1 = 2.0f * l - m2;
    float redAngle = h + 120.0f;
    if (redAngle > 360.0f) redAngle -= 360.0f;
    float blueAngle = h - 120.0f;
    if (blueAngle < 0.0f) blueAngle += 360.0f;
    red = hlsChannel(m1, m2, redAngle);
    green = hlsChannel(m1, m2, h);
    blue = hlsChannel(m1, m2, blueAngle);
  }
  storePixel(out, truncLimited(255.0f * red + kRoundDown), truncLimited(255.0f * green + kRoundDown),
             truncLimited(255.0f * blue + kRoundDown));
}

}  // namespace
}  // namespace fc::color

FC_DEFINE_PX_CONVERSION(ippiRGBToHSV_8u_C3R, fc::color::hsvFromRgb)
FC_DEFINE_PX_CONVERSION(ippiHSVToRGB_8u_C3R, fc::color::rgbFromHsv)
FC_DEFINE_PX_CONVERSION(ippiRGBToHLS_8u_C3R, fc::color::hlsFromRgb)
FC_DEFINE_PX_CONVERSION(ippiHLSToRGB_8u_C3R, fc::color::rgbFromHls)
