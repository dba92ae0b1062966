// morphology_filters.cpp - erosion and dilation of one- and three-channel
// images with an arbitrary structuring element, one row routine call per
// destination row. The generic code needs no work buffer.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "dispatch/primitives.h"
#include "primitives/filters/morphology_rows.h"

namespace {

using RowRoutine = void (*)(const Ipp8u*, int, Ipp8u*, int, const Ipp8u*, int, int);

bool maskHasCell(const Ipp8u* pMask, IppiSize maskSize) {
  const std::size_t count = static_cast<std::size_t>(maskSize.width) * static_cast<std::size_t>(maskSize.height);
  return std::any_of(pMask, pMask + count, [](Ipp8u cell) { return cell != 0; });
}

/// The checks in their fixed order; the first failing one decides.
IppStatus checkMorphology(const Ipp8u* pSrc, int srcStep, const Ipp8u* pDst, int dstStep, IppiSize roiSize,
                          const Ipp8u* pMask, IppiSize maskSize, IppiPoint anchor, int channels) {
  if (pSrc == nullptr || pDst == nullptr || pMask == nullptr) return ippStsNullPtrErr;
  if (srcStep < 1 || dstStep < 1) return ippStsStepErr;
  if (roiSize.width < 1 || roiSize.height < 1) return ippStsSizeErr;
  if (maskSize.width < 1 || maskSize.height < 1) return ippStsMaskSizeErr;
  if (!maskHasCell(pMask, maskSize)) return ippStsZeroMaskValuesErr;
  if (anchor.x < 0 || anchor.x >= maskSize.width || anchor.y < 0 || anchor.y >= maskSize.height)
    return ippStsAnchorErr;
  // 64-bit so that huge sizes cannot wrap into a passing value.
  const std::int64_t sourceRowBytes = (std::int64_t{maskSize.width} - 1 + roiSize.width) * channels;
  const std::int64_t destinationRowBytes = std::int64_t{roiSize.width} * channels;
  if (srcStep < sourceRowBytes || dstStep < destinationRowBytes) return ippStsStrideErr;
  return ippStsNoErr;
}

template <int Channels, RowRoutine row>
IppStatus morphology(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize,
                     const Ipp8u* pMask, IppiSize maskSize, IppiPoint anchor) {
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

}  // namespace

extern "C" FC_API IppStatus px_ippiErode_8u_C3R
FC_TWO_IMAGE_PARAMS(const Ipp8u* pMask, IppiSize maskSize, IppiPoint anchor) {
  return morphology<3, fc::primitives::Erode_8u_C3S> FC_TWO_IMAGE_ARGS(pMask, maskSize, anchor);
}

extern "C" FC_API IppStatus px_ippiErode_8u_C1R
FC_TWO_IMAGE_PARAMS(const Ipp8u* pMask, IppiSize maskSize, IppiPoint anchor) {
  return morphology<1, fc::primitives::Erode_8u_C1S> FC_TWO_IMAGE_ARGS(pMask, maskSize, anchor);
}

extern "C" FC_API IppStatus px_ippiDilate_8u_C3R
FC_TWO_IMAGE_PARAMS(const Ipp8u* pMask, IppiSize maskSize, IppiPoint anchor) {
  return morphology<3, fc::primitives::Dilate_8u_C3S> FC_TWO_IMAGE_ARGS(pMask, maskSize, anchor);
}

extern "C" FC_API IppStatus px_ippiDilate_8u_C1R
FC_TWO_IMAGE_PARAMS(const Ipp8u* pMask, IppiSize maskSize, IppiPoint anchor) {
  return morphology<1, fc::primitives::Dilate_8u_C1S> FC_TWO_IMAGE_ARGS(pMask, maskSize, anchor);
}
