// lab_kernels.h - BGR to and from CIE Lab (D65), in single precision. The
// pair works on blue-green-red pixels: byte 0 is blue, byte 2 red.
#pragma once

#include <math.h>

#include "primitives/color/cie.h"
#include "primitives/color/color_conversion.h"

namespace fc::color {
inline namespace FC_COLOR_ISA {

// White point of the 8-bit scale: the tristimulus values of (255, 255, 255).
inline constexpr float kWhiteX = 242.366f;
inline constexpr float kWhiteY = 255.0f;
inline constexpr float kWhiteZ = 277.632f;

// The Lab companding function: a cube root above the knee, a line below it.
// The power is the C library's, the same for every variant.
inline float labCurve(float t) { return t > 0.008856f ? powf(t, 0.33333334f) : 7.787f * t + 0.137931f; }

// Output L (0..255 for L* 0..100), a and b offset by 128. The power calls
// keep their own loop so that the arithmetic around them can be vectorised.
inline void labFromBgr(const Block& in, Block& out) {
  float x[kBlockPixels], y[kBlockPixels], z[kBlockPixels];
  for (int i = 0; i < kBlockPixels; ++i) {
    const Tristimulus t = tristimulusOf(in.c2[i], in.c1[i], in.c0[i]);
    x[i] = t.x / kWhiteX;
    y[i] = t.y / kWhiteY;
    z[i] = t.z / kWhiteZ;
  }
  float fx[kBlockPixels], fy[kBlockPixels], fz[kBlockPixels];
  for (int i = 0; i < kBlockPixels; ++i) {
    fx[i] = labCurve(x[i]);
    fy[i] = labCurve(y[i]);
    fz[i] = labCurve(z[i]);
  }
  for (int i = 0; i < kBlockPixels; ++i) {
    const float curved = 116.0f * fy[i] - 16.0f;
    const float linear = 903.3f * y[i];
    const float lStar = y[i] > 0.008856f ? curved : linear;
    out.c0[i] = truncLimited(lStar * 255.0f / 100.0f + 0.5f);
    out.c1[i] = truncLimited(500.0f * (fx[i] - fy[i]) + 128.5f);
    out.c2[i] = truncLimited(200.0f * (fy[i] - fz[i]) + 128.5f);
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

}  // namespace FC_COLOR_ISA
}  // namespace fc::color
