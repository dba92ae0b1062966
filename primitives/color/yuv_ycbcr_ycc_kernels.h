// yuv_ycbcr_ycc_kernels.h - RGB to and from YUV, YCbCr and PhotoYCC, in
// 32-bit fixed point. ">>" on a negative value is an arithmetic shift
// (division rounded toward minus infinity), which the results depend on.
#pragma once

#include "primitives/color/color_conversion.h"

namespace fc::color {
inline namespace FC_VARIANT_TAG {

// Luma and scaled colour differences, scale 2^16. U stays within 16..239 for
// every input; V needs the limit.
inline void yuvFromRgb(const Block& in, Block& out) {
  for (int i = 0; i < kBlockPixels; ++i) {
    const std::int32_t r = in.c0[i], g = in.c1[i], b = in.c2[i];
    const std::int32_t s = 19595 * r + 38470 * g + 7471 * b;
    const std::int32_t dB = (65536 * b - s + 32767) >> 16;
    const std::int32_t dR = (65536 * r - s + 32767) >> 16;
    out.c0[i] = s >> 16;
    out.c1[i] = ((32244 * dB) >> 16) + 128;
    out.c2[i] = clampByte(((57475 * dR) >> 16) + 128);
  }
}

inline void rgbFromYuv(const Block& in, Block& out) {
  for (int i = 0; i < kBlockPixels; ++i) {
    const std::int32_t y = 65536 * in.c0[i], u = in.c1[i] - 128, v = in.c2[i] - 128;
    out.c0[i] = clampByte((y + 74711 * v) >> 16);
    out.c1[i] = clampByte((y - 25821 * u - 38076 * v) >> 16);
    out.c2[i] = clampByte((y + 133169 * u) >> 16);
  }
}

// Studio-range luma 16..235 and chroma 16..240, scale 2^16. The offsets are
// 16.5 * 2^16 and -127.5 * 2^16; chroma is stored as its low byte.
inline void ycbcrFromRgb(const Block& in, Block& out) {
  for (int i = 0; i < kBlockPixels; ++i) {
    const std::int32_t r = in.c0[i], g = in.c1[i], b = in.c2[i];
    out.c0[i] = (16843 * r + 33030 * g + 6423 * b + 1081344) >> 16;
    out.c1[i] = (-9699 * r - 19071 * g + 28770 * b - 8355840) >> 16;
    out.c2[i] = (28770 * r - 24117 * g - 4653 * b - 8355840) >> 16;
  }
}

inline void rgbFromYcbcr(const Block& in, Block& out) {
  for (int i = 0; i < kBlockPixels; ++i) {
    const std::int32_t y = 76284 * in.c0[i] - 1220544, cb = in.c1[i] - 128, cr = in.c2[i] - 128;
    out.c0[i] = clampByte((y + 104595 * cr) >> 16);
    out.c1[i] = clampByte((y - 25690 * cb - 53281 * cr) >> 16);
    out.c2[i] = clampByte((y + 132186 * cb) >> 16);
  }
}

// PhotoYCC: luma at scale 2^14 reduced to 2^4, then scaled to the YCC
// ranges (Y 0..181, C1 57..254, C2 41..232), so no limit is needed.
inline void yccFromRgb(const Block& in, Block& out) {
  for (int i = 0; i < kBlockPixels; ++i) {
    const std::int32_t r = in.c0[i], g = in.c1[i], b = in.c2[i];
    const std::int32_t s = 4898 * r + 9617 * g + 1867 * b;
    const std::int32_t y = s >> 10;
    const std::int32_t dB = (16384 * b - s) >> 10;
    const std::int32_t dR = (16384 * r - s) >> 10;
    out.c0[i] = (2921 * y) >> 16;
    out.c1[i] = ((1789 * dB) >> 16) + 156;
    out.c2[i] = ((2178 * dR) >> 16) + 137;
  }
}

inline void rgbFromYcc(const Block& in, Block& out) {
  for (int i = 0; i < kBlockPixels; ++i) {
    const std::int32_t a = 5564 * in.c0[i];
    const std::int32_t c1 = 9084 * in.c1[i] - 1417104;
    const std::int32_t c2 = 7460 * in.c2[i] - 1022020;
    out.c0[i] = clampByte((a + c2) >> 12);
    out.c1[i] = clampByte((16 * a - 794 * (c1 >> 8) - 2084 * (c2 >> 8)) >> 16);
    out.c2[i] = clampByte((a + c1) >> 12);
  }
}

}  // namespace FC_VARIANT_TAG
}  // namespace fc::color
