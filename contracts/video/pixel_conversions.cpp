#include "contracts/video/pixel_conversions.h"

#include <algorithm>

namespace fc::pixels {

namespace {

Ipp8u Clip(int v) { return static_cast<Ipp8u>(std::clamp(v, 0, 255)); }

struct Yuv {
  int y, u, v;
};

// Studio-range luma and chroma of one blue, green, red pixel.
Yuv ToYuv(const Ipp8u* bgr) {
  const int b = bgr[0], g = bgr[1], r = bgr[2];
  return {((66 * r + 129 * g + 25 * b + 128) >> 8) + 16,
          ((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128,
          ((112 * r - 94 * g - 18 * b + 128) >> 8) + 128};
}

void FromYuv(int y, int u, int v, Ipp8u* bgr) {
  const int c = 298 * (y - 16), d = u - 128, e = v - 128;
  bgr[0] = Clip((c + 516 * d + 128) >> 8);
  bgr[1] = Clip((c - 100 * d - 208 * e + 128) >> 8);
  bgr[2] = Clip((c + 409 * e + 128) >> 8);
}

}  // namespace

void Bgr24ToGray8(const Ipp8u* src, Ipp8u* dst, int width) {
  // The weights sum to 1000, so the integer sum plus 500 rounds exactly.
  for (int x = 0; x < width; ++x, src += 3)
    dst[x] = static_cast<Ipp8u>((114 * src[0] + 587 * src[1] + 299 * src[2] + 500) / 1000);
}

void Gray8ToBgr24(const Ipp8u* src, Ipp8u* dst, int width) {
  for (int x = 0; x < width; ++x, dst += 3) dst[0] = dst[1] = dst[2] = src[x];
}

void Bgr24ToBgr32(const Ipp8u* src, Ipp8u* dst, int width) {
  for (int x = 0; x < width; ++x, src += 3, dst += 4) {
    std::copy(src, src + 3, dst);
    dst[3] = 0;
  }
}

void Bgr32ToBgr24(const Ipp8u* src, Ipp8u* dst, int width) {
  for (int x = 0; x < width; ++x, src += 4, dst += 3) std::copy(src, src + 3, dst);
}

void Bgr24ToYuy2(const Ipp8u* src, Ipp8u* dst, int width) {
  for (int x = 0; x < width; x += 2, dst += 4) {
    const Yuv p = ToYuv(src + 3 * x);
    const Yuv q = x + 1 < width ? ToYuv(src + 3 * (x + 1)) : p;
    dst[0] = Clip(p.y);
    dst[1] = Clip((p.u + q.u + 1) / 2);
    dst[2] = Clip(q.y);
    dst[3] = Clip((p.v + q.v + 1) / 2);
  }
}

void Yuy2ToBgr24(const Ipp8u* src, Ipp8u* dst, int width) {
  for (int x = 0; x < width; x += 2, src += 4) {
    FromYuv(src[0], src[1], src[3], dst + 3 * x);
    if (x + 1 < width) FromYuv(src[2], src[1], src[3], dst + 3 * (x + 1));
  }
}

}  // namespace fc::pixels
