// morphology_checks.cpp - the argument checks of erosion and dilation.
#include "primitives/filters/morphology_checks.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace fc::primitives {
namespace {

bool maskHasCell(const Ipp8u* pMask, IppiSize maskSize) {
  const std::size_t count = static_cast<std::size_t>(maskSize.width) * static_cast<std::size_t>(maskSize.height);
  return std::any_of(pMask, pMask + count, [](Ipp8u cell) { return cell != 0; });
}

}  // namespace

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

}  // namespace fc::primitives
