// threshold.cpp - per-channel thresholds of three-channel images: bytes beyond
// a channel's threshold are replaced by that channel's value.
#include "primitives/color/threshold.h"

#include <cstdint>
#include <cstring>

#include "primitives/color/point_checks.h"

namespace fc::primitives {
namespace {

bool anyNull(const Ipp8u* a, const Ipp8u* b) { return a == nullptr || b == nullptr; }

}  // namespace

void thresholdBytes(const ThresholdRule& rule, const Ipp8u* src, Ipp8u* dst, std::size_t bytes) {
  for (std::size_t i = 0; i + 3 <= bytes; i += 3) {
    for (int c = 0; c < 3; ++c) {
      const Ipp8u v = src[i + c];
      dst[i + c] = v > rule.above[c] ? rule.aboveValue[c] : v < rule.below[c] ? rule.belowValue[c] : v;
    }
  }
}

namespace {

/// Bytes of 16 pixels: a whole number of pixels and of 16-byte vectors.
constexpr std::size_t kThresholdBlock = 48;

/// A per-channel triple repeated over a block, so byte j of a block uses
/// entry j whatever its channel.
struct ThresholdPattern {
  explicit ThresholdPattern(const Ipp8u triple[3]) {
    for (std::size_t j = 0; j < kThresholdBlock; ++j) bytes[j] = triple[j % 3];
  }
  alignas(16) Ipp8u bytes[kThresholdBlock];
};

/// Both sides of a rule as a clamp: a byte limited to floor..ceiling equals
/// floor exactly when it lies below the lower threshold, and ceiling exactly
/// when it lies above the upper one; in between it is the byte itself. XOR
/// with the flip of the end it hit turns an end into its value. A side that
/// never triggers has its end at 0 or 255 with a flip of 0, so the clamp
/// gives the byte back. The thresholds are ordered (below <= above), so the
/// two ends differ.
struct ClampPatterns {
  explicit ClampPatterns(const ThresholdRule& rule) {
    for (std::size_t j = 0; j < kThresholdBlock; ++j) {
      const std::size_t c = j % 3;
      const bool belowUsed = rule.below[c] > 0, aboveUsed = rule.above[c] < 255;
      floor[j] = belowUsed ? static_cast<Ipp8u>(rule.below[c] - 1) : 0;
      ceiling[j] = aboveUsed ? static_cast<Ipp8u>(rule.above[c] + 1) : 255;
      floorFlip[j] = belowUsed ? static_cast<Ipp8u>(floor[j] ^ rule.belowValue[c]) : 0;
      ceilingFlip[j] = aboveUsed ? static_cast<Ipp8u>(ceiling[j] ^ rule.aboveValue[c]) : 0;
    }
  }
  alignas(16) Ipp8u floor[kThresholdBlock];
  alignas(16) Ipp8u ceiling[kThresholdBlock];
  alignas(16) Ipp8u floorFlip[kThresholdBlock];
  alignas(16) Ipp8u ceilingFlip[kThresholdBlock];
};

/// A rule laid out over a block.
struct ThresholdPatterns {
  explicit ThresholdPatterns(const ThresholdRule& rule)
      : below(rule.below), above(rule.above), belowValue(rule.belowValue), aboveValue(rule.aboveValue),
        clamp(rule) {}
  ThresholdPattern below, above, belowValue, aboveValue;
  ClampPatterns clamp;
};

/// Byte j of a block after the rule; only the sides in use are compared. One
/// side is a compare and a selection; both sides are a clamp, two equality
/// tests and two masked XORs, all single instructions on unsigned bytes even
/// in the baseline vector set.
template <bool UseBelow, bool UseAbove>
inline Ipp8u thresholdByte(const ThresholdPatterns& p, std::size_t j, Ipp8u v) {
  const Ipp8u belowValue = p.belowValue.bytes[j], aboveValue = p.aboveValue.bytes[j];
  Ipp8u r = v;
  if constexpr (UseBelow && UseAbove) {
    const Ipp8u floor = p.clamp.floor[j], ceiling = p.clamp.ceiling[j];
    const Ipp8u raised = v > floor ? v : floor;
    const Ipp8u c = raised < ceiling ? raised : ceiling;
    const Ipp8u atFloor = static_cast<Ipp8u>(-(c == floor)), atCeiling = static_cast<Ipp8u>(-(c == ceiling));
    r = static_cast<Ipp8u>(c ^ (atFloor & p.clamp.floorFlip[j]) ^ (atCeiling & p.clamp.ceilingFlip[j]));
  } else if constexpr (UseBelow) {
    r = v < p.below.bytes[j] ? belowValue : r;
  } else if constexpr (UseAbove) {
    r = v > p.above.bytes[j] ? aboveValue : r;
  }
  return r;
}

/// Whole blocks of a row whose source and destination do not overlap: the
/// compiler vectorises the loop for the build's instruction set without
/// checks between the two.
template <bool UseBelow, bool UseAbove>
void thresholdBlocksApart(const ThresholdPatterns& p, const Ipp8u* __restrict src, Ipp8u* __restrict dst,
                          std::size_t bytes) {
  for (std::size_t i = 0; i + kThresholdBlock <= bytes; i += kThresholdBlock)
    for (std::size_t j = 0; j < kThresholdBlock; ++j)
      dst[i + j] = thresholdByte<UseBelow, UseAbove>(p, j, src[i + j]);
}

/// Whole blocks of a row in place: each byte is read before it is written.
template <bool UseBelow, bool UseAbove>
void thresholdBlocksInPlace(const ThresholdPatterns& p, Ipp8u* image, std::size_t bytes) {
  for (std::size_t i = 0; i + kThresholdBlock <= bytes; i += kThresholdBlock)
    for (std::size_t j = 0; j < kThresholdBlock; ++j)
      image[i + j] = thresholdByte<UseBelow, UseAbove>(p, j, image[i + j]);
}

/// Whole blocks of a row whose source and destination partly overlap: each
/// block is formed in a buffer of its own and then copied out.
template <bool UseBelow, bool UseAbove>
void thresholdBlocksBuffered(const ThresholdPatterns& p, const Ipp8u* src, Ipp8u* dst, std::size_t bytes) {
  for (std::size_t i = 0; i + kThresholdBlock <= bytes; i += kThresholdBlock) {
    Ipp8u out[kThresholdBlock];
    for (std::size_t j = 0; j < kThresholdBlock; ++j) out[j] = thresholdByte<UseBelow, UseAbove>(p, j, src[i + j]);
    std::memcpy(dst + i, out, kThresholdBlock);
  }
}

bool overlap(const Ipp8u* a, const Ipp8u* b, std::size_t bytes) {
  const auto x = reinterpret_cast<std::uintptr_t>(a), y = reinterpret_cast<std::uintptr_t>(b);
  return x < y + bytes && y < x + bytes;
}

/// Rows in whole blocks by loops without branches, which the compiler
/// vectorises for the build's instruction set; the rest pixel by pixel.
template <bool UseBelow, bool UseAbove>
void thresholdRowsInBlocks(const ThresholdRule& rule, const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep,
                           IppiSize roi) {
  const ThresholdPatterns patterns(rule);
  forEachRowC3(src, srcStep, dst, dstStep, roi, [&](const Ipp8u* s, Ipp8u* d, std::size_t n) {
    if (s == d)
      thresholdBlocksInPlace<UseBelow, UseAbove>(patterns, d, n);
    else if (overlap(s, d, n))
      thresholdBlocksBuffered<UseBelow, UseAbove>(patterns, s, d, n);
    else
      thresholdBlocksApart<UseBelow, UseAbove>(patterns, s, d, n);
    const std::size_t done = n - n % kThresholdBlock;
    thresholdBytes(rule, s + done, d + done, n - done);
  });
}

}  // namespace

IppStatus thresholdBothSides(ThresholdRows rows, const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep,
                             IppiSize roi, const Ipp8u thresholdLT[3], const Ipp8u valueLT[3],
                             const Ipp8u thresholdGT[3], const Ipp8u valueGT[3]) {
  if (const IppStatus status = checkTwoImages(src, srcStep, dst, dstStep, roi)) return status;
  if (anyNull(thresholdLT, valueLT) || anyNull(thresholdGT, valueGT)) return ippStsNullPtrErr;
  ThresholdRule rule;
  for (int c = 0; c < 3; ++c) {
    if (thresholdGT[c] < thresholdLT[c]) return ippStsThresholdErr;
    rule.below[c] = thresholdLT[c];
    rule.belowValue[c] = valueLT[c];
    rule.above[c] = thresholdGT[c];
    rule.aboveValue[c] = valueGT[c];
  }
  rows(rule, src, srcStep, dst, dstStep, roi);
  return ippStsNoErr;
}

IppStatus thresholdOneSide(ThresholdRows rows, ThresholdSide side, const Ipp8u* src, int srcStep, Ipp8u* dst,
                           int dstStep, IppiSize roi, const Ipp8u threshold[3], const Ipp8u value[3]) {
  if (const IppStatus status = checkTwoImages(src, srcStep, dst, dstStep, roi)) return status;
  if (anyNull(threshold, value)) return ippStsNullPtrErr;
  ThresholdRule rule;
  for (int c = 0; c < 3; ++c) {
    (side == ThresholdSide::below ? rule.below : rule.above)[c] = threshold[c];
    (side == ThresholdSide::below ? rule.belowValue : rule.aboveValue)[c] = value[c];
  }
  rows(rule, src, srcStep, dst, dstStep, roi);
  return ippStsNoErr;
}

}  // namespace fc::primitives

using fc::primitives::thresholdRowsInBlocks;
FC_DEFINE_THRESHOLD_VARIANTS(px, (thresholdRowsInBlocks<true, true>), (thresholdRowsInBlocks<true, false>),
                             (thresholdRowsInBlocks<false, true>))
