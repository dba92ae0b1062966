// threshold_sse2.h - the threshold rows with SSE2, 16 pixels (48 bytes) per
// step, the remaining pixels byte by byte. Shared by the variants that may
// use SSE2. Internal to the library.
#pragma once

#include <emmintrin.h>

#include "primitives/color/point_checks.h"
#include "primitives/color/threshold.h"

namespace fc::primitives {

/// One of the three 16-byte lanes of a 48-byte block, holding a per-channel
/// triple in the channel order of the bytes it covers. Values are stored with
/// the top bit flipped when `biased`, so signed byte compares order them as
/// unsigned.
inline __m128i channelPattern(const Ipp8u triple[3], int lane, bool biased) {
  alignas(16) Ipp8u bytes[16];
  for (int i = 0; i < 16; ++i)
    bytes[i] = static_cast<Ipp8u>(triple[(lane * 16 + i) % 3] ^ (biased ? 0x80 : 0));
  return _mm_load_si128(reinterpret_cast<const __m128i*>(bytes));
}

inline __m128i select(__m128i mask, __m128i ifSet, __m128i otherwise) {
  return _mm_or_si128(_mm_and_si128(mask, ifSet), _mm_andnot_si128(mask, otherwise));
}

/// Only the sides in use are compared.
template <bool UseBelow, bool UseAbove>
void thresholdRowsSse2(const ThresholdRule& rule, const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep,
                       IppiSize roi) {
  __m128i below[3], belowValue[3], above[3], aboveValue[3];
  for (int lane = 0; lane < 3; ++lane) {
    below[lane] = channelPattern(rule.below, lane, true);
    belowValue[lane] = channelPattern(rule.belowValue, lane, false);
    above[lane] = channelPattern(rule.above, lane, true);
    aboveValue[lane] = channelPattern(rule.aboveValue, lane, false);
  }
  const __m128i bias = _mm_set1_epi8(static_cast<char>(0x80));
  forEachRowC3(src, srcStep, dst, dstStep, roi, [&](const Ipp8u* s, Ipp8u* d, std::size_t n) {
    std::size_t i = 0;
    for (; i + 48 <= n; i += 48) {
#pragma GCC unroll 3
      for (int lane = 0; lane < 3; ++lane) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 16 * lane));
        const __m128i biased = _mm_xor_si128(v, bias);
        // The upper side is applied last: it decides when both would match.
        __m128i out = v;
        if constexpr (UseBelow) out = select(_mm_cmpgt_epi8(below[lane], biased), belowValue[lane], out);
        if constexpr (UseAbove) out = select(_mm_cmpgt_epi8(biased, above[lane]), aboveValue[lane], out);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i + 16 * lane), out);
      }
    }
    thresholdBytes(rule, s + i, d + i, n - i);
  });
}

}  // namespace fc::primitives
