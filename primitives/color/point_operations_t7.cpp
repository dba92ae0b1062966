// point_operations_t7.cpp - t7 variants of the point operations: written
// with their own instructions, the planar copy with SSSE3 byte shuffles, the
// colour twist with AVX2 single-precision sums and the gamma tables with AVX2
// byte shuffles; uniform noise from the generic kernel compiled for AVX2.
#include <immintrin.h>

#include <array>
#include <cstring>

#include "dispatch/primitives.h"
#include "primitives/color/color_twist.h"
#include "primitives/color/gamma_tables.h"
#include "primitives/color/noise_generator.h"
#include "primitives/color/planar_copy.h"
#include "primitives/color/point_checks.h"
#include "primitives/variant.h"

FC_VARIANT_TARGET_BEGIN()
#include "primitives/color/uniform_noise_kernel.h"
FC_VARIANT_TARGET_END()

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

/// A matrix row as vectors. A sum is decided when it lies closer than
/// `limit` to its nearest integer: 1/2 less the row's single-precision bound,
/// or beyond any distance when the single sum is exact, where the rounding
/// itself sends ties to even.
struct TwistRowAvx2 {
  __m256 t[4];
  __m256 limit;
};

__attribute__((target("avx2"))) TwistRowAvx2 vectorRow(const TwistRow& row) {
  TwistRowAvx2 v;
  for (int k = 0; k < 4; ++k) v.t[k] = _mm256_set1_ps(row.t[k]);
  v.limit = _mm256_set1_ps(row.floatBound == 0.0f ? 1.0f : 0.5f - row.floatBound);
  return v;
}

/// One output channel of eight pixels as rounded integers; lanes not
/// decided are set in `unsure`.
__attribute__((target("avx2"))) __m256i twistEight(const TwistRowAvx2& row, const __m256 s[3], __m256& unsure) {
  const __m256 sum = _mm256_add_ps(
      _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(row.t[0], s[0]), row.t[3]), _mm256_mul_ps(row.t[1], s[1])),
      _mm256_mul_ps(row.t[2], s[2]));
  const __m256 nearest = _mm256_round_ps(sum, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
  const __m256 distance = _mm256_andnot_ps(_mm256_set1_ps(-0.0f), _mm256_sub_ps(sum, nearest));
  unsure = _mm256_or_ps(unsure, _mm256_cmp_ps(distance, row.limit, _CMP_GE_OQ));
  return _mm256_cvttps_epi32(nearest);
}

/// One output channel of four pixels in double precision, rounded to
/// nearest with ties to even; exact for rows whose double sums are exact.
__attribute__((target("avx2"))) __m128i twistFourExact(const TwistRow& row, const __m256d s[3]) {
  const __m256d sum = _mm256_add_pd(
      _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(_mm256_set1_pd(row.t[0]), s[0]), _mm256_set1_pd(row.t[3])),
                    _mm256_mul_pd(_mm256_set1_pd(row.t[1]), s[1])),
      _mm256_mul_pd(_mm256_set1_pd(row.t[2]), s[2]));
  return _mm256_cvttpd_epi32(_mm256_round_pd(sum, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC));
}

/// The three output channels of eight pixels by exact double sums.
__attribute__((target("avx2"))) void twistEightExact(const TwistRow rows[3], const __m256 s[3], __m256i out[3]) {
  __m256d low[3], high[3];
  for (int k = 0; k < 3; ++k) {
    low[k] = _mm256_cvtps_pd(_mm256_castps256_ps128(s[k]));
    high[k] = _mm256_cvtps_pd(_mm256_extractf128_ps(s[k], 1));
  }
  for (int c = 0; c < 3; ++c)
    out[c] = _mm256_inserti128_si256(_mm256_castsi128_si256(twistFourExact(rows[c], low)),
                                     twistFourExact(rows[c], high), 1);
}

/// Eight pixels per step where 28 bytes can be read inside the run. Steps
/// with an undecided single sum are summed again in double precision when
/// that is exact, else they go the generic way, as do the last pixels.
/// Results beyond 0..255 are limited by the saturating packs.
__attribute__((target("avx2"))) void twistPixelsAvx2(const TwistRow rows[3], const Ipp8u* src, Ipp8u* dst,
                                                     std::size_t pixels) {
  if (!rows[0].floatSumDecides || !rows[1].floatSumDecides || !rows[2].floatSumDecides)
    return twistPixelsGeneric(rows, src, dst, pixels);
  static constexpr ShuffleMask toLanes[3] = {channelToLanes(0), channelToLanes(1), channelToLanes(2)};
  static constexpr ShuffleMask toPixels = lanesToPixels();
  const TwistRowAvx2 vectorRows[3] = {vectorRow(rows[0]), vectorRow(rows[1]), vectorRow(rows[2])};
  __m256i channelMasks[3];
  for (int k = 0; k < 3; ++k) channelMasks[k] = _mm256_broadcastsi128_si256(loadMask(toLanes[k]));
  const __m256i pixelMask = _mm256_broadcastsi128_si256(loadMask(toPixels));
  const __m256i joinLanes = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7);
  const bool doubleExact = rows[0].doubleExact && rows[1].doubleExact && rows[2].doubleExact;
  std::size_t p = 0;
  for (; p + 10 <= pixels; p += 8) {
    const Ipp8u* s = src + 3 * p;
    // Pixels 0-3 in the low lane, 4-7 in the high one, each from its first byte.
    const __m256i raw = _mm256_inserti128_si256(
        _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s))),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 12)), 1);
    __m256 channels[3];
    for (int k = 0; k < 3; ++k) channels[k] = _mm256_cvtepi32_ps(_mm256_shuffle_epi8(raw, channelMasks[k]));
    __m256 unsure = _mm256_setzero_ps();
    __m256i out[3];
    for (int c = 0; c < 3; ++c) out[c] = twistEight(vectorRows[c], channels, unsure);
    if (_mm256_movemask_ps(unsure) != 0) {
      if (!doubleExact) {
        twistPixelsGeneric(rows, s, dst + 3 * p, 8);
        continue;
      }
      twistEightExact(rows, channels, out);
    }
    const __m256i bytes =
        _mm256_packus_epi16(_mm256_packs_epi32(out[0], out[1]), _mm256_packs_epi32(out[2], out[2]));
    const __m256i joined = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(bytes, pixelMask), joinLanes);
    Ipp8u* d = dst + 3 * p;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm256_castsi256_si128(joined));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(d + 16), _mm256_extracti128_si256(joined, 1));
  }
  twistPixelsGeneric(rows, src + 3 * p, dst + 3 * p, pixels - p);
}

/// Looks up 32 bytes per step in a 256-entry table held as sixteen 16-entry
/// rows: every row is indexed by the low four bits of each byte, then bits
/// 4 to 7 choose among the sixteen results in four rounds of byte blends
/// (each round shifts its bit into the top bit of the byte, which the blend
/// reads; the bits a 16-bit shift carries in from the byte below stay out
/// of it).
__attribute__((target("avx2"))) void lookUpRowAvx2(const LookUpTable& table, const Ipp8u* src, Ipp8u* dst,
                                                   std::size_t n) {
  __m256i rows[16];
  for (int k = 0; k < 16; ++k)
    rows[k] = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(table + 16 * k)));
  const __m256i lowBits = _mm256_set1_epi8(0x0F);
  std::size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    const __m256i index = _mm256_and_si256(v, lowBits);
    __m256i level[16];
    for (int k = 0; k < 16; ++k) level[k] = _mm256_shuffle_epi8(rows[k], index);
    int count = 16;
    for (int bit = 4; bit < 8; ++bit) {
      const __m256i choose = _mm256_slli_epi16(v, 7 - bit);
      count /= 2;
      for (int k = 0; k < count; ++k) level[k] = _mm256_blendv_epi8(level[2 * k], level[2 * k + 1], choose);
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), level[0]);
  }
  lookUpBytes(table, src + i, dst + i, n - i);
}

}  // namespace
}  // namespace fc::primitives

extern "C" FC_API IppStatus t7_ippiCopy_8u_C3P3R(const Ipp8u* pSrc, int srcStep, Ipp8u* const pDst[3],
                                                 int dstStep, IppiSize roiSize) {
  return fc::primitives::copyToPlanes(fc::primitives::splitRowSsse3, pSrc, srcStep, pDst, dstStep, roiSize);
}

extern "C" FC_API IppStatus t7_ippiColorTwist32f_8u_C3R FC_TWO_IMAGE_PARAMS(const Ipp32f twist[3][4]) {
  return fc::primitives::colorTwist(fc::primitives::twistPixelsAvx2, pSrc, srcStep, pDst, dstStep, roiSize, twist);
}

FC_DEFINE_GAMMA_VARIANTS(t7, fc::primitives::lookUpRowAvx2)

extern "C" FC_API IppStatus t7_ippiAddRandUniform_Direct_8u_C3IR FC_IN_PLACE_PARAMS(Ipp8u low, Ipp8u high,
                                                                                    unsigned int* pSeed) {
  return fc::primitives::addUniformNoise(pSrcDst, srcDstStep, roiSize, low, high, pSeed);
}
