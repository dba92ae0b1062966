// color_twist_t7.cpp - the t7 colour twist: steps of eight pixels summed in
// 32-bit integers with AVX2, two steps at a time (see
// color_twist_fixed_point.h for why an integer sum decides the byte), the
// three channels taken straight from the interleaved bytes by byte shuffles
// and packed back the same way. The rare pixels with a sum too close to a
// half are done again one by one by the exact per-pixel rule.
#include <immintrin.h>

#include <array>
#include <cstdint>

#include "dispatch/primitives.h"
#include "primitives/color/color_twist.h"
#include "primitives/color/color_twist_fixed_point.h"

namespace fc::primitives {
namespace {

using LaneMask = std::array<Ipp8u, 32>;

__attribute__((target("avx2"))) __m256i loadMask(const LaneMask& mask) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(mask.data()));
}

/// Byte k of each of the four pixels held by a 128-bit lane, zero-extended
/// into 32-bit lanes; the lane's first pixel starts at byte `low` in the low
/// lane and at byte 16 of the high one.
constexpr LaneMask channelMask(int k, int low) {
  LaneMask mask{};
  for (int i = 0; i < 32; ++i) {
    const int first = i < 16 ? low : 0;
    const int j = i % 16;
    mask[i] = j % 4 == 0 ? static_cast<Ipp8u>(first + 3 * (j / 4) + k) : 0x80;
  }
  return mask;
}

/// From the packed results (per 128-bit lane: channel 0 of four pixels in
/// bytes 0-3, channel 1 in 4-7, channel 2 in 8-11) to four interleaved pixels.
constexpr LaneMask channelsToPixels() {
  LaneMask mask{};
  for (int i = 0; i < 32; ++i) {
    const int j = i % 16;
    mask[i] = j < 12 ? static_cast<Ipp8u>(4 * (j % 3) + j / 3) : 0x80;
  }
  return mask;
}

/// Where the eight pixels of a step lie in the register they are read into:
/// pixels 0-3 from byte `low` of the low lane, pixels 4-7 from byte 16. A
/// load four bytes before the step has low = 4; the first and last steps of
/// a row read aligned to the row and move the pixels to low = 0.
struct PixelLayout {
  __m256i channel[3];
  int low;
};

__attribute__((target("avx2"))) PixelLayout layoutAt(int low) {
  PixelLayout layout;
  for (int k = 0; k < 3; ++k) layout.channel[k] = loadMask(channelMask(k, low));
  layout.low = low;
  return layout;
}

/// The matrix as vectors, its rows on one scale (see shareScaleAndMargin).
/// Inexact rows add 2^(shift-1) plus the margin they share with their
/// constant term, and a lane is decided when its fraction is at least twice
/// that margin. Exact rows round ties to even and are always decided.
struct TwistVectors {
  __m256i q[3][3];
  __m256i bias[3];
  __m128i shift;
  __m256i fraction;
  __m256i belowHalf;
  __m256i undecidedBelow;
};

__attribute__((target("avx2"))) TwistVectors twistVectors(const TwistRow rows[3]) {
  TwistVectors v;
  const int shift = rows[0].fixed.shift;
  const std::int32_t half = std::int32_t{1} << (shift - 1);
  std::int32_t margin = 0;  // the same for every inexact row
  for (int c = 0; c < 3; ++c)
    if (!rows[c].fixed.exact) margin = rows[c].fixed.margin;
  for (int c = 0; c < 3; ++c) {
    const TwistFixedRow& row = rows[c].fixed;
    for (int k = 0; k < 3; ++k) v.q[c][k] = _mm256_set1_epi32(row.q[k]);
    v.bias[c] = _mm256_set1_epi32(row.exact ? row.q[3] : row.q[3] + half + margin);
  }
  v.shift = _mm_cvtsi32_si128(shift);
  v.fraction = _mm256_set1_epi32(static_cast<std::int32_t>((std::int64_t{1} << shift) - 1));
  v.belowHalf = _mm256_set1_epi32(half - 1);
  v.undecidedBelow = _mm256_set1_epi32(2 * margin);
  return v;
}

/// Output channel c of eight pixels, before saturation. An inexact row also
/// gives each lane's fraction (see TwistVectors).
template <bool Exact>
__attribute__((target("avx2"), always_inline)) inline __m256i twistChannel8(const TwistVectors& v, int c,
                                                                           const __m256i s[3], __m256i& fraction) {
  const __m256i sum = _mm256_add_epi32(
      _mm256_add_epi32(_mm256_mullo_epi32(s[0], v.q[c][0]), _mm256_mullo_epi32(s[1], v.q[c][1])),
      _mm256_add_epi32(_mm256_mullo_epi32(s[2], v.q[c][2]), v.bias[c]));
  if constexpr (Exact) {
    // floor(Q / 2^shift) is odd exactly when a tie must go down.
    const __m256i odd = _mm256_and_si256(_mm256_sra_epi32(sum, v.shift), _mm256_set1_epi32(1));
    return _mm256_sra_epi32(_mm256_add_epi32(_mm256_add_epi32(sum, v.belowHalf), odd), v.shift);
  } else {
    fraction = _mm256_and_si256(sum, v.fraction);
    return _mm256_sra_epi32(sum, v.shift);
  }
}

/// The lanes of `fraction` (0 to 2^30) below `limit`, one bit per lane: the
/// signs of the differences.
__attribute__((target("avx2"), always_inline)) inline int lanesBelow(__m256i fraction, __m256i limit) {
  return _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_sub_epi32(fraction, limit)));
}

/// Output channel c of four pixels by a double sum in the defined order,
/// rounded to nearest with ties to even: on matrices whose double sums are
/// exact, the extended-precision result.
__attribute__((target("avx2"))) __m128i twistFourExactly(const Ipp32f t[4], const __m256d s[3]) {
  __m256d sum = _mm256_add_pd(_mm256_mul_pd(_mm256_set1_pd(t[0]), s[0]), _mm256_set1_pd(t[3]));
  sum = _mm256_add_pd(sum, _mm256_mul_pd(_mm256_set1_pd(t[1]), s[1]));
  sum = _mm256_add_pd(sum, _mm256_mul_pd(_mm256_set1_pd(t[2]), s[2]));
  return _mm256_cvtpd_epi32(_mm256_round_pd(sum, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC));
}

/// The three channels of eight pixels saturated to bytes and interleaved:
/// pixels 0-3 in bytes 0-11 of the low lane, pixels 4-7 in bytes 0-11 of the
/// high one.
__attribute__((target("avx2"), always_inline)) inline __m256i pixelBytes(const __m256i out[3]) {
  static constexpr LaneMask toPixels = channelsToPixels();
  const __m256i bytes =
      _mm256_packus_epi16(_mm256_packs_epi32(out[0], out[1]), _mm256_packs_epi32(out[2], out[2]));
  return _mm256_shuffle_epi8(bytes, loadMask(toPixels));
}

/// Stores the 24 bytes of eight pixels.
__attribute__((target("avx2"))) void storeEight(__m256i pixels, Ipp8u* dst) {
  const __m256i joined = _mm256_permutevar8x32_epi32(pixels, _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm256_castsi256_si128(joined));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 16), _mm256_extracti128_si256(joined, 1));
}

/// Stores the 48 bytes of sixteen pixels, eight in each argument.
__attribute__((target("avx2"), always_inline)) inline void storeSixteen(__m256i first, __m256i second, Ipp8u* dst) {
  const __m256i head = _mm256_permutevar8x32_epi32(first, _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 0, 0));
  // The second eight: bytes 8-23 in the low lane, bytes 0-7 in the last two words.
  const __m256i tail = _mm256_permutevar8x32_epi32(second, _mm256_setr_epi32(2, 4, 5, 6, 0, 0, 0, 1));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), _mm256_blend_epi32(head, tail, 0xC0));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 32), _mm256_castsi256_si128(tail));
}

/// The run of one image row for a matrix whose rows are all usable in fixed
/// point; Exact0..2 say which rows are exact.
template <bool Exact0, bool Exact1, bool Exact2>
class TwistRunAvx2 {
 public:
  static constexpr bool kAllExact = Exact0 && Exact1 && Exact2;

  __attribute__((target("avx2"))) TwistRunAvx2(const TwistRow rows[3])
      : rows_(rows),
        v_(twistVectors(rows)),
        shifted_(layoutAt(4)),
        aligned_(layoutAt(0)),
        doubleExact_(rows[0].doubleExact && rows[1].doubleExact && rows[2].doubleExact) {}

  /// Needs at least 11 pixels (33 bytes), so that the first and last steps
  /// can read 32 bytes inside the row. The last step is read before anything
  /// is written, and every other step before its pixels are written, so a
  /// destination that is the source is allowed.
  __attribute__((target("avx2"))) void operator()(const Ipp8u* src, Ipp8u* dst, std::size_t pixels) const {
    const std::size_t lastStep = pixels - 8;
    const __m256i last = _mm256_permutevar8x32_epi32(
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 3 * pixels - 32)),
        _mm256_setr_epi32(2, 3, 4, 5, 5, 6, 7, 7));
    const __m256i first = _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src)),
                                                      _mm256_setr_epi32(0, 1, 2, 3, 3, 4, 5, 6));
    twistOne(first, aligned_, dst);
    std::size_t p = 8;
    // Each step of a pair is read four bytes before its pixels.
    // Local copies of the constants: stores through dst may alias the
    // members, which the compiler would otherwise read again after each.
    const TwistVectors v = v_;
    const PixelLayout shifted = shifted_;
    for (; p + 18 <= pixels; p += 16) {
      const __m256i rawA = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 3 * p - 4));
      const __m256i rawB = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 3 * p + 20));
      twistPair(v, shifted, rawA, rawB, dst + 3 * p);
    }
    if (p + 10 <= pixels) {
      twistOne(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 3 * p - 4)), shifted_, dst + 3 * p);
      p += 8;
    }
    // At most nine pixels are left; the last step covers eight of them.
    if (p + 9 == pixels) twistPixelsGeneric(rows_, src + 3 * p, dst + 3 * p, 1);
    if (p < pixels) twistOne(last, aligned_, dst + 3 * lastStep);
  }

 private:
  /// The outputs of a step before saturation and the smallest fraction of
  /// its inexact rows.
  struct Step {
    __m256i out[3];
    __m256i smallest;
  };

  __attribute__((target("avx2"), always_inline)) static Step twistStep(const TwistVectors& v, __m256i raw,
                                                                       const PixelLayout& layout) {
    __m256i s[3];
    for (int k = 0; k < 3; ++k) s[k] = _mm256_shuffle_epi8(raw, layout.channel[k]);
    __m256i fraction[3];
    Step step;
    step.out[0] = twistChannel8<Exact0>(v, 0, s, fraction[0]);
    step.out[1] = twistChannel8<Exact1>(v, 1, s, fraction[1]);
    step.out[2] = twistChannel8<Exact2>(v, 2, s, fraction[2]);
    if constexpr (!kAllExact) step.smallest = smallestFraction(fraction);
    return step;
  }

  /// Two steps in shifted layout, stored as sixteen pixels; their undecided
  /// pixels are done again (one branch for the pair, rarely taken).
  __attribute__((target("avx2"), always_inline)) void twistPair(const TwistVectors& v, const PixelLayout& shifted,
                                                                 __m256i rawA, __m256i rawB, Ipp8u* dst) const {
    const Step a = twistStep(v, rawA, shifted);
    const Step b = twistStep(v, rawB, shifted);
    storeSixteen(pixelBytes(a.out), pixelBytes(b.out), dst);
    if constexpr (!kAllExact) {
      if (lanesBelow(_mm256_min_epu32(a.smallest, b.smallest), v.undecidedBelow) != 0) {
        if (const int lanes = lanesBelow(a.smallest, v.undecidedBelow)) redoStep(rawA, shifted, lanes, dst);
        if (const int lanes = lanesBelow(b.smallest, v.undecidedBelow)) redoStep(rawB, shifted, lanes, dst + 24);
      }
    }
  }

  /// One step on its own.
  __attribute__((target("avx2"))) void twistOne(__m256i raw, const PixelLayout& layout, Ipp8u* dst) const {
    const Step step = twistStep(v_, raw, layout);
    storeEight(pixelBytes(step.out), dst);
    if constexpr (!kAllExact) {
      if (const int lanes = lanesBelow(step.smallest, v_.undecidedBelow)) redoStep(raw, layout, lanes, dst);
    }
  }

  /// The unsigned minimum of the inexact rows' fractions.
  __attribute__((target("avx2"), always_inline)) static __m256i smallestFraction(const __m256i fraction[3]) {
    if constexpr (Exact0 && Exact1) return fraction[2];
    if constexpr (Exact0 && Exact2) return fraction[1];
    if constexpr (Exact1 && Exact2) return fraction[0];
    if constexpr (Exact0) return _mm256_min_epu32(fraction[1], fraction[2]);
    if constexpr (Exact1) return _mm256_min_epu32(fraction[0], fraction[2]);
    if constexpr (Exact2) return _mm256_min_epu32(fraction[0], fraction[1]);
    return _mm256_min_epu32(_mm256_min_epu32(fraction[0], fraction[1]), fraction[2]);
  }

  /// A step with a sum too close to a half, done again from its source
  /// bytes in `raw` (so a step twisted in place is redone from its original
  /// pixels). Where double sums are exact, all eight pixels are summed in
  /// double and rounded to nearest, ties to even; otherwise the pixels named
  /// by `lanes` (bit i for pixel i) follow the per-pixel rule.
  __attribute__((target("avx2"), noinline)) void redoStep(__m256i raw, const PixelLayout& layout, int lanes,
                                                          Ipp8u* dst) const {
    if (doubleExact_) {
      __m256d low[3], high[3];
      for (int k = 0; k < 3; ++k) {
        const __m256i s = _mm256_shuffle_epi8(raw, layout.channel[k]);
        low[k] = _mm256_cvtepi32_pd(_mm256_castsi256_si128(s));
        high[k] = _mm256_cvtepi32_pd(_mm256_extracti128_si256(s, 1));
      }
      __m256i out[3];
      for (int c = 0; c < 3; ++c)
        out[c] = _mm256_set_m128i(twistFourExactly(rows_[c].t, high), twistFourExactly(rows_[c].t, low));
      return storeEight(pixelBytes(out), dst);
    }
    alignas(32) Ipp8u bytes[32];
    _mm256_store_si256(reinterpret_cast<__m256i*>(bytes), raw);
    for (int i = 0; i < 8; ++i)
      if ((lanes >> i & 1) != 0) twistPixelsGeneric(rows_, bytes + (i < 4 ? layout.low : 16) + 3 * (i % 4), dst + 3 * i, 1);
  }

  const TwistRow* rows_;
  TwistVectors v_;
  PixelLayout shifted_, aligned_;
  bool doubleExact_;
};

template <bool... Exact>
void twistRunAvx2(const TwistRow rows[3], const Ipp8u* src, Ipp8u* dst, std::size_t pixels) {
  const TwistRunAvx2<Exact...> run{rows};
  run(src, dst, pixels);
}

/// The run for the exactness of each row.
using TwistRunFn = void (*)(const TwistRow rows[3], const Ipp8u* src, Ipp8u* dst, std::size_t pixels);
constexpr TwistRunFn kTwistRuns[8] = {
    twistRunAvx2<false, false, false>, twistRunAvx2<true, false, false>, twistRunAvx2<false, true, false>,
    twistRunAvx2<true, true, false>,   twistRunAvx2<false, false, true>, twistRunAvx2<true, false, true>,
    twistRunAvx2<false, true, true>,   twistRunAvx2<true, true, true>};

/// Rows too short for a step, and matrices with a row not usable in fixed
/// point, go pixel by pixel.
void twistPixelsAvx2(const TwistRow rows[3], const Ipp8u* src, Ipp8u* dst, std::size_t pixels) {
  if (pixels < 11 || !rows[0].fixed.usable || !rows[1].fixed.usable || !rows[2].fixed.usable)
    return twistPixelsGeneric(rows, src, dst, pixels);
  const int exact = (rows[0].fixed.exact ? 1 : 0) | (rows[1].fixed.exact ? 2 : 0) | (rows[2].fixed.exact ? 4 : 0);
  kTwistRuns[exact](rows, src, dst, pixels);
}

}  // namespace
}  // namespace fc::primitives

extern "C" FC_API IppStatus t7_ippiColorTwist32f_8u_C3R FC_TWO_IMAGE_PARAMS(const Ipp32f twist[3][4]) {
  return fc::primitives::colorTwist(fc::primitives::twistPixelsAvx2, pSrc, srcStep, pDst, dstStep, roiSize, twist);
}
