// morphology_entries.h - defines the variant entries <tag>_<name> of erosion
// and dilation for the variant being compiled (see primitives/variant.h): the checks,
// then one row routine call per destination row. No work buffer is needed.
// Included by exactly one source per variant that runs the row routines
// (px); the t7 variant splits the mask into runs instead (morphology_t7.cpp).
#pragma once

#include <cstddef>

#include "dispatch/primitives.h"
#include "primitives/filters/morphology_checks.h"
#include "primitives/filters/morphology_rows.h"

namespace fc::primitives {
inline namespace FC_VARIANT_TAG {
namespace morphology {

using RowRoutine = void (*)(const Ipp8u*, int, Ipp8u*, int, const Ipp8u*, int, int);

template <int Channels, RowRoutine row>
IppStatus filter(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize, const Ipp8u* pMask,
                 IppiSize maskSize, IppiPoint anchor) {
  const IppStatus status =
      checkMorphology(pSrc, srcStep, pDst, dstStep, roiSize, pMask, maskSize, anchor, Channels);
  if (status != ippStsNoErr) return status;
  const Ipp8u* windowTopLeft =
      pSrc - static_cast<std::ptrdiff_t>(anchor.x) * Channels - static_cast<std::ptrdiff_t>(anchor.y) * srcStep;
  for (std::ptrdiff_t y = 0; y < roiSize.height; ++y)
    row(windowTopLeft + y * srcStep, srcStep, pDst + y * dstStep, roiSize.width, pMask, maskSize.width,
        maskSize.height);
  return ippStsNoErr;
}

}  // namespace morphology
}  // namespace FC_VARIANT_TAG
}  // namespace fc::primitives

#define FC_MORPHOLOGY_ENTRY(name, channels, row)                                                       \
  extern "C" FC_API IppStatus FC_VARIANT(name)                                                  \
  FC_TWO_IMAGE_PARAMS(const Ipp8u* pMask, IppiSize maskSize, IppiPoint anchor) {                       \
    return fc::primitives::morphology::filter<channels, fc::primitives::row> FC_TWO_IMAGE_ARGS(pMask, maskSize, \
                                                                                              anchor);   \
  }

FC_MORPHOLOGY_ENTRY(ippiErode_8u_C3R, 3, Erode_8u_C3S)
FC_MORPHOLOGY_ENTRY(ippiErode_8u_C1R, 1, Erode_8u_C1S)
FC_MORPHOLOGY_ENTRY(ippiDilate_8u_C3R, 3, Dilate_8u_C3S)
FC_MORPHOLOGY_ENTRY(ippiDilate_8u_C1R, 1, Dilate_8u_C1S)

#undef FC_MORPHOLOGY_ENTRY
