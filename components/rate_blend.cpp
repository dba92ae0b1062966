#include "components/rate_blend.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace fc {

namespace {

constexpr std::uint32_t kOne = 1u << 16;

// The fixed-point blend in 16-bit steps: each byte times 256 times its
// share, high halves kept, so a vector register holds eight products.
inline Ipp8u FixedByte(Ipp8u previous, Ipp8u current, std::uint16_t keepShare, std::uint16_t currentShare) {
  const auto highHalf = [](Ipp8u byte, std::uint16_t share) {
    return static_cast<std::uint16_t>((std::uint32_t{static_cast<std::uint16_t>(byte << 8)} * share) >> 16);
  };
  const auto sum = static_cast<std::uint16_t>(highHalf(previous, keepShare) + highHalf(current, currentShare) + 128);
  return static_cast<Ipp8u>(sum >> 8);
}

// FixedByte on sixteen bytes at a time (SSE2 is part of every x86-64
// processor); the same 16-bit arithmetic lane by lane.
void BlendFixed(const Ipp8u* previous, const Ipp8u* current, Ipp8u* out, std::size_t count, std::uint16_t keepShare,
                std::uint16_t currentShare) {
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i keep = _mm_set1_epi16(static_cast<short>(keepShare));
  const __m128i take = _mm_set1_epi16(static_cast<short>(currentShare));
  const __m128i half = _mm_set1_epi16(128);
  const auto blendEight = [&](__m128i previousHigh, __m128i currentHigh) {
    const __m128i sum = _mm_add_epi16(_mm_mulhi_epu16(previousHigh, keep), _mm_mulhi_epu16(currentHigh, take));
    return _mm_srli_epi16(_mm_add_epi16(sum, half), 8);
  };
  for (; i + 16 <= count; i += 16) {
    const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(previous + i));
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(current + i));
    // Interleaving with zero below puts each byte in the high half of a lane: byte * 256.
    const __m128i low = blendEight(_mm_unpacklo_epi8(zero, p), _mm_unpacklo_epi8(zero, c));
    const __m128i high = blendEight(_mm_unpackhi_epi8(zero, p), _mm_unpackhi_epi8(zero, c));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(low, high));
  }
#endif
  for (; i < count; ++i) out[i] = FixedByte(previous[i], current[i], keepShare, currentShare);
}

}  // namespace

Ipp8u TRateBlend::ExactByte(int previous, int current, double w) {
  const double keep = 1.0 - w;
  const double scale = 1.0 / (keep + w);
  const double value = std::round((previous * keep + current * w) * scale);
  return value >= 255.0 ? 255 : value > 0.0 ? static_cast<Ipp8u>(value) : 0;  // NaN gives 0
}

TRateBlend::TPlan TRateBlend::MakePlan(double w) {
  TPlan plan{w, 0, false, {}};
  if (w > 0.0 && w < 1.0) {
    const long share = std::lround(w / ((1.0 - w) + w) * kOne);
    plan.currentShare = static_cast<std::uint32_t>(std::clamp<long>(share, 1, kOne - 1));
    plan.fixedPoint = true;
    const auto keepShare = static_cast<std::uint16_t>(kOne - plan.currentShare);
    const auto currentShare = static_cast<std::uint16_t>(plan.currentShare);
    for (int p = 0; p < 256 && plan.fixedPoint; ++p)
      for (int c = 0; c < 256; ++c)
        if (FixedByte(static_cast<Ipp8u>(p), static_cast<Ipp8u>(c), keepShare, currentShare) != ExactByte(p, c, w)) {
          plan.fixedPoint = false;
          break;
        }
  }
  if (plan.fixedPoint) return plan;
  plan.table.resize(256 * 256);
  for (int p = 0; p < 256; ++p)
    for (int c = 0; c < 256; ++c) plan.table[static_cast<std::size_t>(p) << 8 | c] = ExactByte(p, c, w);
  return plan;
}

const TRateBlend::TPlan& TRateBlend::Plan(double w) {
  for (const TPlan& plan : plans_)
    if (plan.w == w) return plan;
  if (plans_.size() == kKeptPlans) plans_.erase(plans_.begin());
  plans_.push_back(MakePlan(w));
  return plans_.back();
}

void TRateBlend::Blend(const Ipp8u* previous, const Ipp8u* current, Ipp8u* out, std::size_t count, double w) {
  // The two ends are copies, exactly (1 - w and w are 1 and 0 there).
  if (w == 0.0 || w == 1.0) {
    std::memcpy(out, w == 0.0 ? previous : current, count);
    return;
  }
  const TPlan& plan = Plan(w);
  if (plan.fixedPoint) {
    BlendFixed(previous, current, out, count, static_cast<std::uint16_t>(kOne - plan.currentShare),
               static_cast<std::uint16_t>(plan.currentShare));
    return;
  }
  for (std::size_t i = 0; i < count; ++i) out[i] = plan.table[static_cast<std::size_t>(previous[i]) << 8 | current[i]];
}

}  // namespace fc
