// color_twist_t7.cpp - the t7 colour twist: steps of eight pixels summed in
// 32-bit integers with AVX2, two steps at a time (see
// color_twist_fixed_point.h for why an integer sum decides the byte), the
// three channels taken straight from the interleaved bytes by byte shuffles
// and packed back the same way. The rare steps with a sum too close to a
// half are done again exactly.
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
/// lane and at byte `high` in the high one.
constexpr LaneMask channelMask(int k, int low, int high) {
  LaneMask mask{};
  for (int i = 0; i < 32; ++i) {
    const int first = i < 16 ? low : high;
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
/// a load four bytes before the step puts pixels 0-3 at byte 4 of the low
/// lane and pixels 4-7 at byte 0 of the high one; the first and last steps of
/// a row read aligned to the row and move the pixels to byte 0 of each lane.
struct PixelLayout {
  __m256i channel[3];
};

__attribute__((target("avx2"))) PixelLayout layoutAt(int low, int high) {
  PixelLayout layout;
  for (int k = 0; k < 3; ++k) layout.channel[k] = loadMask(channelMask(k, low, high));
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
__attribute__((target("avx2"))) __m256i twistChannel8(const TwistVectors& v, int c, const __m256i s[3],
                                                      __m256i& fraction) {
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

/// Makes the compiler hold `value` in a register from here on, so that a
/// constant used by both steps of a pair is read from memory once: the
/// matrix has more constants than AVX2 has registers, and reading each at
/// every use makes the loads the bottleneck.
template <typename Vector>
__attribute__((target("avx2"), always_inline)) inline void inRegister(Vector& value) {
  asm("" : "+x"(value));
}

/// twistChannel8 for the two steps of a pair, each constant read once.
template <bool Exact>
__attribute__((target("avx2"), always_inline)) inline void twistChannelPair(const TwistVectors& v, int c,
                                                                             const __m256i a[3], const __m256i b[3],
                                                                             __m256i out[2], __m256i fraction[2]) {
  __m256i sums[2];
  __m256i q = v.q[c][0];
  inRegister(q);
  sums[0] = _mm256_mullo_epi32(a[0], q);
  sums[1] = _mm256_mullo_epi32(b[0], q);
  q = v.q[c][1];
  inRegister(q);
  sums[0] = _mm256_add_epi32(sums[0], _mm256_mullo_epi32(a[1], q));
  sums[1] = _mm256_add_epi32(sums[1], _mm256_mullo_epi32(b[1], q));
  q = v.q[c][2];
  __m256i bias = v.bias[c];
  inRegister(q);
  inRegister(bias);
  sums[0] = _mm256_add_epi32(sums[0], _mm256_add_epi32(_mm256_mullo_epi32(a[2], q), bias));
  sums[1] = _mm256_add_epi32(sums[1], _mm256_add_epi32(_mm256_mullo_epi32(b[2], q), bias));
  const __m128i shift = v.shift;
  if constexpr (Exact) {
    __m256i belowHalf = v.belowHalf;
    inRegister(belowHalf);
    for (int h = 0; h < 2; ++h) {
      const __m256i odd = _mm256_and_si256(_mm256_sra_epi32(sums[h], shift), _mm256_set1_epi32(1));
      out[h] = _mm256_sra_epi32(_mm256_add_epi32(_mm256_add_epi32(sums[h], belowHalf), odd), shift);
    }
  } else {
    __m256i mask = v.fraction;
    inRegister(mask);
    for (int h = 0; h < 2; ++h) {
      fraction[h] = _mm256_and_si256(sums[h], mask);
      out[h] = _mm256_sra_epi32(sums[h], shift);
    }
  }
}

/// Lanes of `fraction` below `limit`, four bits per lane as movemask sets them.
__attribute__((target("avx2"))) int lanesBelow(__m256i fraction, __m256i limit) {
  return _mm256_movemask_epi8(_mm256_cmpgt_epi32(limit, fraction));
}

/// Whether any lane of `fraction` (0 to 2^30) lies below `limit`: the sign
/// of the difference.
__attribute__((target("avx2"))) bool anyBelow(__m256i fraction, __m256i limit) {
  return _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_sub_epi32(fraction, limit))) != 0;
}

/// Output channel c of four pixels (one half of a step) by an exact double
/// sum, rounded to nearest with ties to even: the sum is exact on matrices
/// whose double sums are exact, as is the extended-precision one.
__attribute__((target("avx2"))) __m128i twistFourExactly(const Ipp32f t[4], const __m256d s[3]) {
  __m256d sum = _mm256_add_pd(_mm256_mul_pd(_mm256_set1_pd(t[0]), s[0]), _mm256_set1_pd(t[3]));
  sum = _mm256_add_pd(sum, _mm256_mul_pd(_mm256_set1_pd(t[1]), s[1]));
  sum = _mm256_add_pd(sum, _mm256_mul_pd(_mm256_set1_pd(t[2]), s[2]));
  return _mm256_cvtpd_epi32(_mm256_round_pd(sum, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC));
}

/// The eight pixels' source bytes written back as interleaved bytes.
__attribute__((target("avx2"))) void sourcePixels(const __m256i s[3], Ipp8u pixels[24]) {
  alignas(32) std::int32_t channel[3][8];
  for (int k = 0; k < 3; ++k) _mm256_store_si256(reinterpret_cast<__m256i*>(channel[k]), s[k]);
  for (int i = 0; i < 8; ++i)
    for (int k = 0; k < 3; ++k) pixels[3 * i + k] = static_cast<Ipp8u>(channel[k][i]);
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
        shifted_(layoutAt(4, 0)),
        aligned_(layoutAt(0, 0)),
        doubleExact_(rows[0].doubleExact && rows[1].doubleExact && rows[2].doubleExact) {}

  /// Needs at least 11 pixels (33 bytes), so that the first and last steps
  /// can read 32 bytes inside the row. The last step is read before anything
  /// is written, so a destination that is the source is allowed.
  __attribute__((target("avx2"))) void operator()(const Ipp8u* src, Ipp8u* dst, std::size_t pixels) const {
    const std::size_t lastStep = pixels - 8;
    const __m256i last = _mm256_permutevar8x32_epi32(
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 3 * pixels - 32)),
        _mm256_setr_epi32(2, 3, 4, 5, 5, 6, 7, 7));
    const __m256i first = _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src)),
                                                      _mm256_setr_epi32(0, 1, 2, 3, 3, 4, 5, 6));
    twistOne(first, aligned_, dst);
    std::size_t p = 8;
    const auto from = reinterpret_cast<std::uintptr_t>(src), to = reinterpret_cast<std::uintptr_t>(dst);
    const bool overlapping = from < to + 3 * pixels && to < from + 3 * pixels;
    while (p + 18 <= pixels)
      p = overlapping ? twistPairs<true>(src, dst, p, pixels) : twistPairs<false>(src, dst, p, pixels);
    if (p + 10 <= pixels) {
      twistOne(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 3 * p - 4)), shifted_, dst + 3 * p);
      p += 8;
    }
    // At most nine pixels are left; the last step covers eight of them.
    if (p + 9 == pixels) twistPixelsGeneric(rows_, src + 3 * p, dst + 3 * p, 1);
    if (p < pixels) twistOne(last, aligned_, dst + 3 * lastStep);
  }

 private:
  static constexpr int kBatch = 16;

  /// The outputs of a step as interleaved bytes (see pixelBytes) and the
  /// smallest fraction of its inexact rows.
  struct Step {
    __m256i pixels;
    __m256i smallest;
  };

  __attribute__((target("avx2"))) Step twistStep(__m256i raw, const PixelLayout& layout) const {
    __m256i s[3];
    for (int k = 0; k < 3; ++k) s[k] = _mm256_shuffle_epi8(raw, layout.channel[k]);
    __m256i fraction[3], out[3];
    out[0] = twistChannel8<Exact0>(v_, 0, s, fraction[0]);
    out[1] = twistChannel8<Exact1>(v_, 1, s, fraction[1]);
    out[2] = twistChannel8<Exact2>(v_, 2, s, fraction[2]);
    Step step;
    step.pixels = pixelBytes(out);
    if constexpr (!kAllExact) step.smallest = smallestFraction(fraction);
    return step;
  }

  /// Two steps in shifted layout, stored as sixteen pixels; returns the
  /// smallest fraction of their inexact rows.
  __attribute__((target("avx2"), always_inline)) __m256i twistPair(__m256i rawA, __m256i rawB, Ipp8u* dst) const {
    __m256i a[3], b[3];
    for (int k = 0; k < 3; ++k) {
      __m256i mask = shifted_.channel[k];
      inRegister(mask);
      a[k] = _mm256_shuffle_epi8(rawA, mask);
      b[k] = _mm256_shuffle_epi8(rawB, mask);
    }
    __m256i out[3][2], fraction[3][2];
    twistChannelPair<Exact0>(v_, 0, a, b, out[0], fraction[0]);
    twistChannelPair<Exact1>(v_, 1, a, b, out[1], fraction[1]);
    twistChannelPair<Exact2>(v_, 2, a, b, out[2], fraction[2]);
    const __m256i outA[3] = {out[0][0], out[1][0], out[2][0]};
    const __m256i outB[3] = {out[0][1], out[1][1], out[2][1]};
    storeSixteen(pixelBytes(outA), pixelBytes(outB), dst);
    if constexpr (kAllExact) return _mm256_setzero_si256();
    const __m256i fractionA[3] = {fraction[0][0], fraction[1][0], fraction[2][0]};
    const __m256i fractionB[3] = {fraction[0][1], fraction[1][1], fraction[2][1]};
    return _mm256_min_epu32(smallestFraction(fractionA), smallestFraction(fractionB));
  }

  /// One step on its own, done again at once when a lane is undecided.
  __attribute__((target("avx2"))) void twistOne(__m256i raw, const PixelLayout& layout, Ipp8u* dst) const {
    const Step step = twistStep(raw, layout);
    storeEight(step.pixels, dst);
    if constexpr (!kAllExact) {
      if (anyBelow(step.smallest, v_.undecidedBelow)) redoStep(raw, layout, dst);
    }
  }

  /// Up to kBatch pairs of steps from pixel p on, each step read four bytes
  /// before its pixels; returns where the next step starts. A pair with an
  /// undecided lane is stored all the same and noted without a branch, and
  /// the noted pairs are done again at the end of the batch, from their
  /// source bytes kept in registers when the destination overlaps the source
  /// (which is then overwritten).
  template <bool KeepSource>
  __attribute__((target("avx2"))) std::size_t twistPairs(const Ipp8u* src, Ipp8u* dst, std::size_t p,
                                                          std::size_t pixels) const {
    __m256i kept[2 * kBatch];
    std::size_t keptAt[kBatch];
    int keptCount = 0;
    for (int i = 0; i < kBatch && p + 18 <= pixels; ++i, p += 16) {
      const __m256i rawA = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 3 * p - 4));
      const __m256i rawB = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 3 * p + 20));
      const __m256i smallest = twistPair(rawA, rawB, dst + 3 * p);
      if constexpr (!kAllExact) {
        if constexpr (KeepSource) {
          kept[2 * keptCount] = rawA;
          kept[2 * keptCount + 1] = rawB;
        }
        keptAt[keptCount] = p;
        keptCount += anyBelow(smallest, v_.undecidedBelow) ? 1 : 0;
      }
    }
    for (int i = 0; i < keptCount; ++i) {
      const std::size_t at = keptAt[i];
      for (int h = 0; h < 2; ++h) {
        const Ipp8u* read = src + 3 * at + 24 * h - 4;
        const __m256i raw = KeepSource ? kept[2 * i + h] : _mm256_loadu_si256(reinterpret_cast<const __m256i*>(read));
        redoStep(raw, shifted_, dst + 3 * at + 24 * h);
      }
    }
    return p;
  }

  /// The unsigned minimum of the inexact rows' fractions.
  __attribute__((target("avx2"))) static __m256i smallestFraction(const __m256i fraction[3]) {
    if constexpr (Exact0 && Exact1) return fraction[2];
    if constexpr (Exact0 && Exact2) return fraction[1];
    if constexpr (Exact1 && Exact2) return fraction[0];
    if constexpr (Exact0) return _mm256_min_epu32(fraction[1], fraction[2]);
    if constexpr (Exact1) return _mm256_min_epu32(fraction[0], fraction[2]);
    if constexpr (Exact2) return _mm256_min_epu32(fraction[0], fraction[1]);
    return _mm256_min_epu32(_mm256_min_epu32(fraction[0], fraction[1]), fraction[2]);
  }

  /// A step with a lane too close to a half. Where double sums are exact,
  /// the undecided halves of the undecided channels are summed again in
  /// double; otherwise the whole step follows the per-pixel rule on a copy of
  /// its source pixels.
  __attribute__((target("avx2"), noinline)) void redoStep(__m256i raw, const PixelLayout& layout,
                                                          Ipp8u* dst) const {
    __m256i s[3];
    for (int k = 0; k < 3; ++k) s[k] = _mm256_shuffle_epi8(raw, layout.channel[k]);
    if (!doubleExact_) {
      Ipp8u pixels[24];
      sourcePixels(s, pixels);
      return twistPixelsGeneric(rows_, pixels, dst, 8);
    }
    __m256i fraction[3], out[3];
    out[0] = twistChannel8<Exact0>(v_, 0, s, fraction[0]);
    out[1] = twistChannel8<Exact1>(v_, 1, s, fraction[1]);
    out[2] = twistChannel8<Exact2>(v_, 2, s, fraction[2]);
    constexpr bool kExact[3] = {Exact0, Exact1, Exact2};
    for (int c = 0; c < 3; ++c) {
      if (kExact[c]) continue;
      const int below = lanesBelow(fraction[c], v_.undecidedBelow);
      for (int h = 0; h < 2; ++h) {
        if ((below >> (16 * h) & 0xFFFF) == 0) continue;
        __m256d half[3];
        for (int k = 0; k < 3; ++k)
          half[k] = _mm256_cvtepi32_pd(h ? _mm256_extracti128_si256(s[k], 1) : _mm256_castsi256_si128(s[k]));
        const __m128i exact = twistFourExactly(rows_[c].t, half);
        out[c] = h ? _mm256_inserti128_si256(out[c], exact, 1) : _mm256_inserti128_si256(out[c], exact, 0);
      }
    }
    storeEight(pixelBytes(out), dst);
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
