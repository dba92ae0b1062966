// color_twist_t7.cpp - the t7 colour twist: steps of eight pixels summed in
// 32-bit integers with AVX2, two steps at a time (see
// color_twist_fixed_point.h for why an integer sum decides the byte), the
// three channels taken straight from the interleaved bytes by byte shuffles
// and packed back the same way. The rare steps with a sum too close to a
// half are done again exactly from their source bytes.
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

/// Where the eight pixels of a step lie in the register they are read into:
/// pixels 0-3 from byte `low` of the low lane, pixels 4-7 from byte 16. A
/// step read four bytes before its pixels has low = 4; the first and last
/// steps of a row read aligned to the row and move the pixels to low = 0.
constexpr int kShiftedLow = 4;
constexpr int kAlignedLow = 0;

/// Byte k of each pixel zero-extended into its 32-bit lane.
constexpr LaneMask channelMask(int k, int low) {
  LaneMask mask{};
  for (int i = 0; i < 32; ++i) {
    const int j = i % 16;
    mask[i] = j % 4 == 0 ? static_cast<Ipp8u>((i < 16 ? low : 0) + 3 * (j / 4) + k) : Ipp8u{0x80};
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

/// Channel k of the eight pixels of a step in 32-bit lanes.
__attribute__((target("avx2"), always_inline)) inline __m256i channelOf(__m256i raw, __m256i mask) {
  return _mm256_shuffle_epi8(raw, mask);
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

/// The outputs of a step before saturation, and the smallest fraction of
/// its inexact rows (see FixedPointSums).
struct Step {
  __m256i out[3];
  __m256i undecided;
};

/// The 32-bit fixed-point sums, the matrix's rows on one scale (see
/// shareScaleAndMargin). Inexact rows add 2^(shift-1) plus the margin they
/// share with their constant term, and a lane is decided when its fraction
/// is at least twice that margin; a step's `undecided` is the smallest
/// fraction of its inexact rows. Exact rows round ties to even and are
/// always decided. Exact0..2 say which rows are exact.
template <bool Exact0, bool Exact1, bool Exact2>
class FixedPointSums {
 public:
  static constexpr bool kAllExact = Exact0 && Exact1 && Exact2;

  __attribute__((target("avx2"))) explicit FixedPointSums(const TwistRow rows[3]) {
    const int shift = rows[0].fixed.shift;
    const std::int32_t half = std::int32_t{1} << (shift - 1);
    std::int32_t margin = 0;  // the same for every inexact row
    for (int c = 0; c < 3; ++c)
      if (!rows[c].fixed.exact) margin = rows[c].fixed.margin;
    for (int c = 0; c < 3; ++c) {
      const TwistFixedRow& row = rows[c].fixed;
      for (int k = 0; k < 3; ++k) q_[c][k] = _mm256_set1_epi32(row.q[k]);
      bias_[c] = _mm256_set1_epi32(row.exact ? row.q[3] : row.q[3] + half + margin);
    }
    shift_ = _mm256_set1_epi32(shift);
    fraction_ = _mm256_set1_epi32(static_cast<std::int32_t>((std::int64_t{1} << shift) - 1));
    belowHalf_ = _mm256_set1_epi32(half - 1);
    undecidedBelow_ = _mm256_set1_epi32(2 * margin);
    for (int k = 0; k < 3; ++k) {
      shifted_[k] = loadMask(channelMask(k, kShiftedLow));
      aligned_[k] = loadMask(channelMask(k, kAlignedLow));
    }
  }

  __attribute__((target("avx2"), always_inline)) Step step(__m256i raw, bool shifted) const {
    __m256i s[3];
    for (int k = 0; k < 3; ++k) s[k] = channelOf(raw, shifted ? shifted_[k] : aligned_[k]);
    __m256i fraction[3];
    Step step;
    step.out[0] = channel<Exact0>(0, s, fraction[0]);
    step.out[1] = channel<Exact1>(1, s, fraction[1]);
    step.out[2] = channel<Exact2>(2, s, fraction[2]);
    if constexpr (!kAllExact) step.undecided = smallestFraction(fraction);
    return step;
  }

  __attribute__((target("avx2"), always_inline)) bool anyUndecided(__m256i undecided) const {
    return undecidedLanes(undecided) != 0;
  }

  /// Bit i set for an undecided pixel i: the signs of fraction - limit
  /// (fractions lie in 0 to 2^30).
  __attribute__((target("avx2"), always_inline)) int undecidedLanes(__m256i undecided) const {
    return _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_sub_epi32(undecided, undecidedBelow_)));
  }

 private:
  /// Output channel c of eight pixels, before saturation; an inexact row
  /// also gives each lane's fraction.
  template <bool Exact>
  __attribute__((target("avx2"), always_inline)) __m256i channel(int c, const __m256i s[3],
                                                                 __m256i& fraction) const {
    const __m256i sum = _mm256_add_epi32(
        _mm256_add_epi32(_mm256_mullo_epi32(s[0], q_[c][0]), _mm256_mullo_epi32(s[1], q_[c][1])),
        _mm256_add_epi32(_mm256_mullo_epi32(s[2], q_[c][2]), bias_[c]));
    if constexpr (Exact) {
      // floor(Q / 2^shift) is odd exactly when a tie must go down.
      const __m256i odd = _mm256_and_si256(_mm256_srav_epi32(sum, shift_), _mm256_set1_epi32(1));
      return _mm256_srav_epi32(_mm256_add_epi32(_mm256_add_epi32(sum, belowHalf_), odd), shift_);
    } else {
      fraction = _mm256_and_si256(sum, fraction_);
      return _mm256_srav_epi32(sum, shift_);
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

  __m256i q_[3][3];
  __m256i bias_[3];
  /// The shift in every lane: a per-lane shift is one instruction on
  /// processors where a shift by a count register takes two.
  __m256i shift_;
  __m256i fraction_, belowHalf_, undecidedBelow_;
  __m256i shifted_[3], aligned_[3];
};

/// The matrix in double vectors, for the exact redo of a step.
struct ExactMatrix {
  __m256d t[3][4];
};

__attribute__((target("avx2"))) ExactMatrix exactMatrix(const TwistRow rows[3]) {
  ExactMatrix m;
  for (int c = 0; c < 3; ++c)
    for (int k = 0; k < 4; ++k) m.t[c][k] = _mm256_set1_pd(rows[c].t[k]);
  return m;
}

/// Output channel c of four pixels by a double sum in the defined order,
/// rounded to nearest with ties to even: on matrices whose double sums are
/// exact, the extended-precision result.
__attribute__((target("avx2"), always_inline)) inline __m128i twistFourExactly(const __m256d t[4], const __m256d s[3]) {
  __m256d sum = _mm256_add_pd(_mm256_mul_pd(t[0], s[0]), t[3]);
  sum = _mm256_add_pd(sum, _mm256_mul_pd(t[1], s[1]));
  sum = _mm256_add_pd(sum, _mm256_mul_pd(t[2], s[2]));
  return _mm256_cvtpd_epi32(_mm256_round_pd(sum, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC));
}

/// A step with a sum too close to a half, done again from its source bytes
/// in `raw` (read with pixel 0 at byte `low`), so a step twisted in place is
/// redone from its original pixels. Where double sums are exact (`exact` is
/// given), all eight pixels are summed in double vectors; otherwise the
/// pixels named by `lanes` (bit i for pixel i) follow the per-pixel rule.
__attribute__((target("avx2"))) void redoStep(const TwistRow rows[3], const ExactMatrix* exact, __m256i raw, int low,
                                              int lanes, Ipp8u* dst) {
  if (exact != nullptr) {
    static constexpr LaneMask kChannels[2][3] = {
        {channelMask(0, kAlignedLow), channelMask(1, kAlignedLow), channelMask(2, kAlignedLow)},
        {channelMask(0, kShiftedLow), channelMask(1, kShiftedLow), channelMask(2, kShiftedLow)}};
    __m256d lowHalf[3], highHalf[3];
    for (int k = 0; k < 3; ++k) {
      const __m256i s = channelOf(raw, loadMask(kChannels[low == kShiftedLow ? 1 : 0][k]));
      lowHalf[k] = _mm256_cvtepi32_pd(_mm256_castsi256_si128(s));
      highHalf[k] = _mm256_cvtepi32_pd(_mm256_extracti128_si256(s, 1));
    }
    __m256i out[3];
    for (int c = 0; c < 3; ++c)
      out[c] = _mm256_set_m128i(twistFourExactly(exact->t[c], highHalf), twistFourExactly(exact->t[c], lowHalf));
    return storeEight(pixelBytes(out), dst);
  }
  alignas(32) Ipp8u bytes[32];
  _mm256_store_si256(reinterpret_cast<__m256i*>(bytes), raw);
  for (int i = 0; i < 8; ++i)
    if ((lanes >> i & 1) != 0) twistPixelsGeneric(rows, bytes + (i < 4 ? low : 16) + 3 * (i % 4), dst + 3 * i, 1);
}

/// The run of one image row for a matrix whose rows are all usable in fixed
/// point, with the sums of `Sums`.
template <class Sums>
class TwistRunAvx2 {
 public:
  __attribute__((target("avx2"))) explicit TwistRunAvx2(const TwistRow rows[3])
      : rows_(rows),
        sums_(rows),
        exact_(exactMatrix(rows)),
        doubleExact_(rows[0].doubleExact && rows[1].doubleExact && rows[2].doubleExact) {}

  /// Needs at least 11 pixels (33 bytes), so that the first and last steps
  /// can read 32 bytes inside the row. The last step is read before anything
  /// is written, and every other step before its pixels are written, so a
  /// destination that is the source is allowed.
  __attribute__((target("avx2"))) void operator()(const Ipp8u* src, Ipp8u* dst, std::size_t pixels) const {
    // A local copy of the constants: stores through dst may alias the
    // members, which would otherwise be read again after each.
    const Sums sums = sums_;
    const std::size_t lastStep = pixels - 8;
    const __m256i last = _mm256_permutevar8x32_epi32(
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 3 * pixels - 32)),
        _mm256_setr_epi32(2, 3, 4, 5, 5, 6, 7, 7));
    const __m256i first = _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src)),
                                                      _mm256_setr_epi32(0, 1, 2, 3, 3, 4, 5, 6));
    twistOne(sums, first, false, dst);
    std::size_t p = 8;
    const auto from = reinterpret_cast<std::uintptr_t>(src), to = reinterpret_cast<std::uintptr_t>(dst);
    const bool overlapping = from < to + 3 * pixels && to < from + 3 * pixels;
    while (p + 18 <= pixels)
      p = overlapping ? twistPairs<true>(sums, src, dst, p, pixels) : twistPairs<false>(sums, src, dst, p, pixels);
    if (p + 10 <= pixels) {
      twistOne(sums, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 3 * p - 4)), true, dst + 3 * p);
      p += 8;
    }
    // At most nine pixels are left; the last step covers eight of them.
    if (p + 9 == pixels) twistPixelsGeneric(rows_, src + 3 * p, dst + 3 * p, 1);
    if (p < pixels) twistOne(sums, last, false, dst + 3 * lastStep);
  }

 private:
  static constexpr int kBatch = 32;

  /// Up to kBatch pairs of steps from pixel p on, each step read four bytes
  /// before its pixels; returns where the next step starts. A step with an
  /// undecided pixel is stored all the same and noted in a bit mask without
  /// a branch, and the noted steps are done again at the end of the batch,
  /// so the rare redos cost no mispredicted branches in the pairs' loop. A
  /// destination that overlaps the source overwrites it: the batch's source
  /// bytes are then kept in registers.
  template <bool KeepSource>
  __attribute__((target("avx2"))) std::size_t twistPairs(const Sums& sums, const Ipp8u* src, Ipp8u* dst,
                                                          std::size_t p, std::size_t pixels) const {
    __m256i kept[2 * kBatch];
    std::uint64_t noted = 0;
    const std::size_t from = p;
    for (int i = 0; i < kBatch && p + 18 <= pixels; ++i, p += 16) {
      const __m256i rawA = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 3 * p - 4));
      const __m256i rawB = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 3 * p + 20));
      const Step a = sums.step(rawA, true);
      const Step b = sums.step(rawB, true);
      storeSixteen(pixelBytes(a.out), pixelBytes(b.out), dst + 3 * p);
      if constexpr (!Sums::kAllExact) {
        if constexpr (KeepSource) {
          kept[2 * i] = rawA;
          kept[2 * i + 1] = rawB;
        }
        noted |= (std::uint64_t{sums.anyUndecided(a.undecided)} | std::uint64_t{sums.anyUndecided(b.undecided)} << 1)
                 << (2 * i);
      }
    }
    for (; noted != 0; noted &= noted - 1) {
      const int step = __builtin_ctzll(noted);
      const std::size_t at = from + 8 * static_cast<std::size_t>(step);
      const __m256i raw =
          KeepSource ? kept[step] : _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 3 * at - 4));
      redo(raw, kShiftedLow, sums.undecidedLanes(sums.step(raw, true).undecided), dst + 3 * at);
    }
    return p;
  }

  /// One step on its own.
  __attribute__((target("avx2"))) void twistOne(const Sums& sums, __m256i raw, bool shifted, Ipp8u* dst) const {
    const Step step = sums.step(raw, shifted);
    storeEight(pixelBytes(step.out), dst);
    if constexpr (!Sums::kAllExact) {
      if (const int lanes = sums.undecidedLanes(step.undecided))
        redo(raw, shifted ? kShiftedLow : kAlignedLow, lanes, dst);
    }
  }

  __attribute__((target("avx2"))) void redo(__m256i raw, int low, int lanes, Ipp8u* dst) const {
    redoStep(rows_, doubleExact_ ? &exact_ : nullptr, raw, low, lanes, dst);
  }

  const TwistRow* rows_;
  Sums sums_;
  ExactMatrix exact_;
  bool doubleExact_;
};

template <bool... Exact>
void twistRunAvx2(const TwistRow rows[3], const Ipp8u* src, Ipp8u* dst, std::size_t pixels) {
  const TwistRunAvx2<FixedPointSums<Exact...>> run{rows};
  run(src, dst, pixels);
}

/// The run for the exactness of each row (bit c set for an exact row c).
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
