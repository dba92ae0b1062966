// yuv_ycbcr_ycc_kernels.h - RGB to and from YUV, YCbCr and PhotoYCC, in
// 32-bit fixed point. ">>" on a negative value is an arithmetic shift
// (division rounded toward minus infinity), which the results depend on.
#pragma once

#include "primitives/color/color_conversion.h"

namespace fc::color {
inline namespace FC_VARIANT_TAG {

// Each conversion is a per-pixel formula (see convertEach), written once for
// std::int32_t and for vectors of it, and its block kernel.

// Luma and scaled colour differences, scale 2^16. U stays within 16..239 for
// every input; V needs the limit.
struct YuvFromRgb {
  template <typename I>
  Channels<I> operator()(I r, I g, I b) const {
    const I s = 19595 * r + 38470 * g + 7471 * b;
    const I dB = (65536 * b - s + 32767) >> 16;
    const I dR = (65536 * r - s + 32767) >> 16;
    return {s >> 16, ((32244 * dB) >> 16) + 128, clampByte(((57475 * dR) >> 16) + 128)};
  }
};

struct RgbFromYuv {
  template <typename I>
  Channels<I> operator()(I c0, I c1, I c2) const {
    const I y = 65536 * c0, u = c1 - 128, v = c2 - 128;
    return {clampByte((y + 74711 * v) >> 16), clampByte((y - 25821 * u - 38076 * v) >> 16),
            clampByte((y + 133169 * u) >> 16)};
  }
};

// Studio-range luma 16..235 and chroma 16..240, scale 2^16. The offsets are
// 16.5 * 2^16 and -127.5 * 2^16; chroma is stored as its low byte.
struct YcbcrFromRgb {
  template <typename I>
  Channels<I> operator()(I r, I g, I b) const {
    return {(16843 * r + 33030 * g + 6423 * b + 1081344) >> 16, (-9699 * r - 19071 * g + 28770 * b - 8355840) >> 16,
            (28770 * r - 24117 * g - 4653 * b - 8355840) >> 16};
  }
};

struct RgbFromYcbcr {
  template <typename I>
  Channels<I> operator()(I c0, I c1, I c2) const {
    const I y = 76284 * c0 - 1220544, cb = c1 - 128, cr = c2 - 128;
    return {clampByte((y + 104595 * cr) >> 16), clampByte((y - 25690 * cb - 53281 * cr) >> 16),
            clampByte((y + 132186 * cb) >> 16)};
  }
};

// PhotoYCC: luma at scale 2^14 reduced to 2^4, then scaled to the YCC
// ranges (Y 0..181, C1 57..254, C2 41..232), so no limit is needed.
struct YccFromRgb {
  template <typename I>
  Channels<I> operator()(I r, I g, I b) const {
    const I s = 4898 * r + 9617 * g + 1867 * b;
    const I y = s >> 10;
    const I dB = (16384 * b - s) >> 10;
    const I dR = (16384 * r - s) >> 10;
    return {(2921 * y) >> 16, ((1789 * dB) >> 16) + 156, ((2178 * dR) >> 16) + 137};
  }
};

struct RgbFromYcc {
  template <typename I>
  Channels<I> operator()(I c0, I c1, I c2) const {
    const I a = 5564 * c0;
    const I chroma1 = 9084 * c1 - 1417104;
    const I chroma2 = 7460 * c2 - 1022020;
    return {clampByte((a + chroma2) >> 12),
            clampByte((16 * a - 794 * (chroma1 >> 8) - 2084 * (chroma2 >> 8)) >> 16),
            clampByte((a + chroma1) >> 12)};
  }
};

inline void yuvFromRgb(const Block& in, Block& out) { convertEach<YuvFromRgb>(in, out); }
inline void rgbFromYuv(const Block& in, Block& out) { convertEach<RgbFromYuv>(in, out); }
inline void ycbcrFromRgb(const Block& in, Block& out) { convertEach<YcbcrFromRgb>(in, out); }
inline void rgbFromYcbcr(const Block& in, Block& out) { convertEach<RgbFromYcbcr>(in, out); }
inline void yccFromRgb(const Block& in, Block& out) { convertEach<YccFromRgb>(in, out); }
inline void rgbFromYcc(const Block& in, Block& out) { convertEach<RgbFromYcc>(in, out); }

}  // namespace FC_VARIANT_TAG
}  // namespace fc::color
