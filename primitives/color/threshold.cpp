// threshold.cpp - per-channel thresholds of three-channel images: bytes beyond
// a channel's threshold are replaced by that channel's value.
#include "dispatch/primitives.h"
#include "primitives/color/point_checks.h"

namespace fc::primitives {
namespace {

/// Per-channel limits; a byte s of channel c becomes aboveValue[c] when
/// s > above[c], else belowValue[c] when s < below[c], else stays s. A limit
/// that never triggers (above 255, below 0) leaves its side alone.
struct ThresholdRule {
  int below[3] = {0, 0, 0};
  Ipp8u belowValue[3] = {0, 0, 0};
  int above[3] = {255, 255, 255};
  Ipp8u aboveValue[3] = {0, 0, 0};
};

IppStatus applyRule(const ThresholdRule& rule, const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep,
                    IppiSize roi) {
  forEachRowC3(src, srcStep, dst, dstStep, roi, [&](const Ipp8u* s, Ipp8u* d, std::size_t n) {
    for (std::size_t i = 0; i < n; i += 3) {
      for (int c = 0; c < 3; ++c) {
        const Ipp8u v = s[i + c];
        d[i + c] = v > rule.above[c] ? rule.aboveValue[c] : v < rule.below[c] ? rule.belowValue[c] : v;
      }
    }
  });
  return ippStsNoErr;
}

bool anyNull(const Ipp8u* a, const Ipp8u* b) { return a == nullptr || b == nullptr; }

enum class Side { below, above };

/// The one-sided thresholds: bytes strictly below (or above) the channel's
/// threshold become the channel's value.
IppStatus applyOneSided(Side side, const Ipp8u threshold[3], const Ipp8u value[3], const Ipp8u* src,
                        int srcStep, Ipp8u* dst, int dstStep, IppiSize roi) {
  if (const IppStatus status = checkTwoImages(src, srcStep, dst, dstStep, roi)) return status;
  if (anyNull(threshold, value)) return ippStsNullPtrErr;
  ThresholdRule rule;
  for (int c = 0; c < 3; ++c) {
    (side == Side::below ? rule.below : rule.above)[c] = threshold[c];
    (side == Side::below ? rule.belowValue : rule.aboveValue)[c] = value[c];
  }
  return applyRule(rule, src, srcStep, dst, dstStep, roi);
}

}  // namespace
}  // namespace fc::primitives

extern "C" FC_API IppStatus px_ippiThreshold_LTValGTVal_8u_C3R FC_TWO_IMAGE_PARAMS(
    const Ipp8u thresholdLT[3], const Ipp8u valueLT[3], const Ipp8u thresholdGT[3], const Ipp8u valueGT[3]) {
  using namespace fc::primitives;
  if (const IppStatus status = checkTwoImages(pSrc, srcStep, pDst, dstStep, roiSize)) return status;
  if (anyNull(thresholdLT, valueLT) || anyNull(thresholdGT, valueGT)) return ippStsNullPtrErr;
  ThresholdRule rule;
  for (int c = 0; c < 3; ++c) {
    if (thresholdGT[c] < thresholdLT[c]) return ippStsThresholdErr;
    rule.below[c] = thresholdLT[c];
    rule.belowValue[c] = valueLT[c];
    rule.above[c] = thresholdGT[c];
    rule.aboveValue[c] = valueGT[c];
  }
  return applyRule(rule, pSrc, srcStep, pDst, dstStep, roiSize);
}

extern "C" FC_API IppStatus px_ippiThreshold_LTVal_8u_C3R FC_TWO_IMAGE_PARAMS(const Ipp8u threshold[3],
                                                                               const Ipp8u value[3]) {
  return fc::primitives::applyOneSided(fc::primitives::Side::below, threshold, value, pSrc, srcStep, pDst,
                                       dstStep, roiSize);
}

extern "C" FC_API IppStatus px_ippiThreshold_GTVal_8u_C3R FC_TWO_IMAGE_PARAMS(const Ipp8u threshold[3],
                                                                               const Ipp8u value[3]) {
  return fc::primitives::applyOneSided(fc::primitives::Side::above, threshold, value, pSrc, srcStep, pDst,
                                       dstStep, roiSize);
}
