// rank_support.cpp - argument checks and region copy of the rank filters.
#include "primitives/filters/rank_support.h"

#include <cstring>

namespace fc::primitives::rank {

namespace {

IppStatus checkPointers(const Ipp8u* src, const Ipp8u* dst) {
  return src == nullptr || dst == nullptr ? ippStsNullPtrErr : ippStsNoErr;
}

IppStatus checkSize(IppiSize roi) {
  return roi.width < 1 || roi.height < 1 ? ippStsSizeErr : ippStsNoErr;
}

IppStatus checkSteps(int srcStep, int dstStep) {
  return srcStep < 1 || dstStep < 1 ? ippStsStepErr : ippStsNoErr;
}

}  // namespace

IppStatus checkImagesSizeFirst(const Ipp8u* src, int srcStep, const Ipp8u* dst, int dstStep,
                               IppiSize roi) {
  if (IppStatus status = checkPointers(src, dst)) return status;
  if (IppStatus status = checkSize(roi)) return status;
  return checkSteps(srcStep, dstStep);
}

IppStatus checkImagesStepFirst(const Ipp8u* src, int srcStep, const Ipp8u* dst, int dstStep,
                               IppiSize roi) {
  if (IppStatus status = checkPointers(src, dst)) return status;
  if (IppStatus status = checkSteps(srcStep, dstStep)) return status;
  return checkSize(roi);
}

IppStatus checkMaskAndAnchor(IppiSize mask, IppiPoint anchor) {
  if (mask.width < 1 || mask.height < 1) return ippStsMaskSizeErr;
  if (anchor.x < 0 || anchor.x >= mask.width || anchor.y < 0 || anchor.y >= mask.height)
    return ippStsAnchorErr;
  return ippStsNoErr;
}

IppStatus checkMaskCode(int mask) {
  return mask == ippMskSize3x3 || mask == ippMskSize5x5 ? ippStsNoErr : ippStsMaskSizeErr;
}

void copyRegion(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi) {
  for (int y = 0; y < roi.height; ++y)
    std::memcpy(dst + static_cast<std::ptrdiff_t>(y) * dstStep,
                src + static_cast<std::ptrdiff_t>(y) * srcStep, rowBytes(roi.width));
}

}  // namespace fc::primitives::rank
