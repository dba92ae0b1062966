// point_operations_t7.cpp - t7 variants of the point operations written with
// their own instructions: the planar copy with SSSE3 byte shuffles, the
// colour twist with AVX2 double-precision sums.
#include <immintrin.h>

#include <array>
#include <cstring>

#include "dispatch/primitives.h"
#include "primitives/color/color_twist.h"
#include "primitives/color/planar_copy.h"

namespace fc::primitives {
namespace {

using ShuffleMask = std::array<Ipp8u, 16>;

__m128i loadMask(const ShuffleMask& mask) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask.data()));
}

/// Picks, for plane `plane`, the bytes of one 16-byte lane of a 48-byte
/// block of 16 pixels into their places among the plane's 16 bytes; places
/// fed from other lanes get 0x80 (zero).
constexpr ShuffleMask planeMask(int plane, int lane) {
  ShuffleMask mask{};
  for (int j = 0; j < 16; ++j) {
    const int position = 3 * j + plane;
    mask[j] = position / 16 == lane ? static_cast<Ipp8u>(position % 16) : 0x80;
  }
  return mask;
}

template <int Plane>
__attribute__((target("ssse3"))) __m128i gatherPlane(__m128i lane0, __m128i lane1, __m128i lane2) {
  static constexpr ShuffleMask masks[3] = {planeMask(Plane, 0), planeMask(Plane, 1), planeMask(Plane, 2)};
  return _mm_or_si128(
      _mm_or_si128(_mm_shuffle_epi8(lane0, loadMask(masks[0])), _mm_shuffle_epi8(lane1, loadMask(masks[1]))),
      _mm_shuffle_epi8(lane2, loadMask(masks[2])));
}

/// Splits one row: 16 pixels per step, the rest pixel by pixel.
__attribute__((target("ssse3"))) void splitRowSsse3(const Ipp8u* src, Ipp8u* const planes[3], int width) {
  int x = 0;
  for (; x + 16 <= width; x += 16) {
    const Ipp8u* s = src + static_cast<std::size_t>(x) * 3;
    const __m128i lane0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    const __m128i lane1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 16));
    const __m128i lane2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 32));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(planes[0] + x), gatherPlane<0>(lane0, lane1, lane2));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(planes[1] + x), gatherPlane<1>(lane0, lane1, lane2));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(planes[2] + x), gatherPlane<2>(lane0, lane1, lane2));
  }
  splitRowGeneric(src, planes, x, width);
}

/// Bytes of channel k of four pixels (12 bytes) spread into four 32-bit lanes.
constexpr ShuffleMask channelToLanes(int k) {
  ShuffleMask mask{};
  for (int i = 0; i < 16; ++i) mask[i] = i % 4 == 0 ? static_cast<Ipp8u>(3 * (i / 4) + k) : 0x80;
  return mask;
}

/// From four bytes per channel (channel 0 in bytes 0-3, 1 in 4-7, 2 in 8-11)
/// back to four interleaved pixels.
constexpr ShuffleMask lanesToPixels() {
  ShuffleMask mask{};
  for (int i = 0; i < 16; ++i) mask[i] = i < 12 ? static_cast<Ipp8u>(4 * (i % 3) + i / 3) : 0x80;
  return mask;
}

/// One output channel of four pixels as four 32-bit integers, by the same
/// double sums and the same half-integer test as the generic code; false
/// when a sum lies near a half-integer and the generic code must decide.
__attribute__((target("avx2"))) bool twistFour(const TwistRow& row, const __m256d s[3], __m128i& out) {
  const __m256d sum = _mm256_add_pd(
      _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(_mm256_set1_pd(row.t[0]), s[0]), _mm256_set1_pd(row.t[3])),
                    _mm256_mul_pd(_mm256_set1_pd(row.t[1]), s[1])),
      _mm256_mul_pd(_mm256_set1_pd(row.t[2]), s[2]));
  const __m256d nearest = _mm256_floor_pd(_mm256_add_pd(sum, _mm256_set1_pd(0.5)));
  const __m256d distance = _mm256_andnot_pd(_mm256_set1_pd(-0.0), _mm256_sub_pd(sum, nearest));
  const __m256d decided = _mm256_cmp_pd(distance, _mm256_set1_pd(0.5 - row.bound), _CMP_LT_OQ);
  const __m256d clamped = _mm256_min_pd(_mm256_max_pd(nearest, _mm256_setzero_pd()), _mm256_set1_pd(255.0));
  out = _mm256_cvttpd_epi32(clamped);
  return _mm256_movemask_pd(decided) == 0xF;
}

/// Four pixels per step where 16 bytes can be read inside the run; steps
/// with a sum near a half-integer, and the last pixels, go the generic way.
__attribute__((target("avx2"))) void twistPixelsAvx2(const TwistRow rows[3], const Ipp8u* src, Ipp8u* dst,
                                                     std::size_t pixels) {
  if (!rows[0].doubleSumDecides || !rows[1].doubleSumDecides || !rows[2].doubleSumDecides)
    return twistPixelsGeneric(rows, src, dst, pixels);
  static constexpr ShuffleMask toLanes[3] = {channelToLanes(0), channelToLanes(1), channelToLanes(2)};
  static constexpr ShuffleMask toPixels = lanesToPixels();
  std::size_t p = 0;
  for (; p + 6 <= pixels; p += 4) {
    const Ipp8u* s = src + 3 * p;
    const __m128i raw = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    __m256d channels[3];
    for (int k = 0; k < 3; ++k) channels[k] = _mm256_cvtepi32_pd(_mm_shuffle_epi8(raw, loadMask(toLanes[k])));
    __m128i out[3];
    if (!(twistFour(rows[0], channels, out[0]) & twistFour(rows[1], channels, out[1]) &
          twistFour(rows[2], channels, out[2]))) {
      twistPixelsGeneric(rows, s, dst + 3 * p, 4);
      continue;
    }
    const __m128i bytes =
        _mm_packus_epi16(_mm_packus_epi32(out[0], out[1]), _mm_packus_epi32(out[2], out[2]));
    const __m128i pixelsOut = _mm_shuffle_epi8(bytes, loadMask(toPixels));
    alignas(16) Ipp8u stored[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(stored), pixelsOut);
    std::memcpy(dst + 3 * p, stored, 12);
  }
  twistPixelsGeneric(rows, src + 3 * p, dst + 3 * p, pixels - p);
}

}  // namespace
}  // namespace fc::primitives

extern "C" FC_API IppStatus t7_ippiCopy_8u_C3P3R(const Ipp8u* pSrc, int srcStep, Ipp8u* const pDst[3],
                                                 int dstStep, IppiSize roiSize) {
  return fc::primitives::copyToPlanes(fc::primitives::splitRowSsse3, pSrc, srcStep, pDst, dstStep, roiSize);
}

extern "C" FC_API IppStatus t7_ippiColorTwist32f_8u_C3R FC_TWO_IMAGE_PARAMS(const Ipp32f twist[3][4]) {
  return fc::primitives::colorTwist(fc::primitives::twistPixelsAvx2, pSrc, srcStep, pDst, dstStep, roiSize,
                                    twist);
}
