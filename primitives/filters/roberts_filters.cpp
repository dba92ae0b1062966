// roberts_filters.cpp - Roberts cross differences of three-channel images:
// each byte minus its diagonal neighbour in the row above, negative results
// limited to 0. Two rows suffice, so no work buffer is needed.
#include <cstddef>

#include "dispatch/primitives.h"
#include "primitives/filters/fixed_kernel_engine.h"

namespace {

using fc::primitives::kFixedKernelChannels;

// NeighbourDx is -1 (up-left, "Down") or +1 (up-right, "Up").
template <int NeighbourDx>
IppStatus robertsCross(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize) {
  const IppStatus status = fc::primitives::checkTwoImages(pSrc, srcStep, pDst, dstStep, roiSize);
  if (status != ippStsNoErr) return status;
  const std::ptrdiff_t rowLength = static_cast<std::ptrdiff_t>(roiSize.width) * kFixedKernelChannels;
  for (std::ptrdiff_t y = 0; y < roiSize.height; ++y) {
    const Ipp8u* centre = pSrc + y * srcStep;
    const Ipp8u* neighbour = centre - srcStep + NeighbourDx * kFixedKernelChannels;
    Ipp8u* __restrict dst = pDst + y * dstStep;
    for (std::ptrdiff_t i = 0; i < rowLength; ++i) {
      const int difference = centre[i] - neighbour[i];
      dst[i] = static_cast<Ipp8u>(difference > 0 ? difference : 0);
    }
  }
  return ippStsNoErr;
}

}  // namespace

extern "C" FC_API IppStatus px_ippiFilterRobertsDown_8u_C3R FC_TWO_IMAGE_PARAMS() {
  return robertsCross<-1> FC_TWO_IMAGE_ARGS();
}

extern "C" FC_API IppStatus px_ippiFilterRobertsUp_8u_C3R FC_TWO_IMAGE_PARAMS() {
  return robertsCross<+1> FC_TWO_IMAGE_ARGS();
}
