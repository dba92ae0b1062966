// threshold.cpp - per-channel thresholds of three-channel images: bytes beyond
// a channel's threshold are replaced by that channel's value.
#include "primitives/color/threshold.h"

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

void thresholdRowsGeneric(const ThresholdRule& rule, const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep,
                          IppiSize roi) {
  forEachRowC3(src, srcStep, dst, dstStep, roi,
               [&](const Ipp8u* s, Ipp8u* d, std::size_t n) { thresholdBytes(rule, s, d, n); });
}

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

using fc::primitives::thresholdRowsGeneric;
FC_DEFINE_THRESHOLD_VARIANTS(px, thresholdRowsGeneric, thresholdRowsGeneric, thresholdRowsGeneric)
