// threshold.h - the per-channel threshold operations, shared by the generic
// and the SIMD variants, which differ only in the routine that walks the
// rows. Internal to the library.
#pragma once

#include <cstddef>

#include "dispatch/primitives.h"

namespace fc::primitives {

/// Per-channel limits: a byte s of channel c becomes aboveValue[c] when
/// s > above[c], else belowValue[c] when s < below[c], else stays s. A side
/// that is not in use has the limit that never triggers (above 255, below 0).
struct ThresholdRule {
  Ipp8u below[3] = {0, 0, 0};
  Ipp8u belowValue[3] = {0, 0, 0};
  Ipp8u above[3] = {255, 255, 255};
  Ipp8u aboveValue[3] = {0, 0, 0};
};

/// Applies a checked rule to every row of a three-channel region.
using ThresholdRows = void (*)(const ThresholdRule& rule, const Ipp8u* src, int srcStep, Ipp8u* dst,
                               int dstStep, IppiSize roi);

/// The rule applied to the whole pixels of `bytes` bytes starting at channel 0.
void thresholdBytes(const ThresholdRule& rule, const Ipp8u* src, Ipp8u* dst, std::size_t bytes);

enum class ThresholdSide { below, above };

/// The three entries' argument checks, then `rows` on the rule they give.
IppStatus thresholdBothSides(ThresholdRows rows, const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep,
                             IppiSize roi, const Ipp8u thresholdLT[3], const Ipp8u valueLT[3],
                             const Ipp8u thresholdGT[3], const Ipp8u valueGT[3]);
IppStatus thresholdOneSide(ThresholdRows rows, ThresholdSide side, const Ipp8u* src, int srcStep, Ipp8u* dst,
                           int dstStep, IppiSize roi, const Ipp8u threshold[3], const Ipp8u value[3]);

}  // namespace fc::primitives

/// Defines the three threshold entries of variant `tag` on their row routines.
#define FC_DEFINE_THRESHOLD_VARIANTS(tag, bothRows, belowRows, aboveRows)                                    \
  extern "C" FC_API IppStatus tag##_ippiThreshold_LTValGTVal_8u_C3R FC_TWO_IMAGE_PARAMS(                     \
      const Ipp8u thresholdLT[3], const Ipp8u valueLT[3], const Ipp8u thresholdGT[3],                        \
      const Ipp8u valueGT[3]) {                                                                              \
    return fc::primitives::thresholdBothSides(bothRows, pSrc, srcStep, pDst, dstStep, roiSize, thresholdLT,  \
                                              valueLT, thresholdGT, valueGT);                                \
  }                                                                                                          \
  extern "C" FC_API IppStatus tag##_ippiThreshold_LTVal_8u_C3R FC_TWO_IMAGE_PARAMS(const Ipp8u threshold[3], \
                                                                                   const Ipp8u value[3]) {   \
    return fc::primitives::thresholdOneSide(belowRows, fc::primitives::ThresholdSide::below, pSrc, srcStep,  \
                                            pDst, dstStep, roiSize, threshold, value);                       \
  }                                                                                                          \
  extern "C" FC_API IppStatus tag##_ippiThreshold_GTVal_8u_C3R FC_TWO_IMAGE_PARAMS(const Ipp8u threshold[3], \
                                                                                   const Ipp8u value[3]) {   \
    return fc::primitives::thresholdOneSide(aboveRows, fc::primitives::ThresholdSide::above, pSrc, srcStep,  \
                                            pDst, dstStep, roiSize, threshold, value);                       \
  }
