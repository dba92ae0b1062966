// fixed_kernel_entries.h - defines the variant entries <tag>_<name> of the
// fixed-kernel filters for the variant being compiled (see primitives/variant.h).
// Included by exactly one source per variant.
#pragma once

#include <cstddef>

#include "dispatch/primitives.h"
#include "primitives/filters/fixed_kernel_engine.h"
#include "primitives/filters/fixed_kernels.h"

namespace fc::primitives {
inline namespace FC_VARIANT_TAG {

/// Roberts cross difference: each byte minus its diagonal neighbour in the
/// row above (NeighbourDx -1: up-left, +1: up-right), negative results
/// limited to 0. Two rows suffice, so no work buffer is needed.
template <int NeighbourDx>
IppStatus robertsCross(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize) {
  const IppStatus status = checkTwoImages(pSrc, srcStep, pDst, dstStep, roiSize);
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

}  // namespace FC_VARIANT_TAG
}  // namespace fc::primitives

#define FC_FIXED_KERNEL_ENTRY(name, body)                                      \
  extern "C" FC_API IppStatus FC_VARIANT(name) FC_TWO_IMAGE_PARAMS() { \
    return fc::primitives::body FC_TWO_IMAGE_ARGS();                            \
  }
#define FC_FIXED_KERNEL_MASK_ENTRY(name, kernel3x3, kernel5x5)                                          \
  extern "C" FC_API IppStatus FC_VARIANT(name) FC_TWO_IMAGE_PARAMS(int mask) {                  \
    return fc::primitives::filterWithMaskCode<fc::primitives::kernels::kernel3x3,                        \
                                              fc::primitives::kernels::kernel5x5> FC_TWO_IMAGE_ARGS(mask); \
  }

FC_FIXED_KERNEL_ENTRY(ippiFilterPrewittHoriz_8u_C3R, filterWithKernel<fc::primitives::kernels::PrewittHoriz>)
FC_FIXED_KERNEL_ENTRY(ippiFilterPrewittVert_8u_C3R, filterWithKernel<fc::primitives::kernels::PrewittVert>)
FC_FIXED_KERNEL_ENTRY(ippiFilterSobelHoriz_8u_C3R, filterWithKernel<fc::primitives::kernels::SobelHoriz>)
FC_FIXED_KERNEL_ENTRY(ippiFilterSobelVert_8u_C3R, filterWithKernel<fc::primitives::kernels::SobelVert>)
FC_FIXED_KERNEL_ENTRY(ippiFilterSharpen_8u_C3R, filterWithKernel<fc::primitives::kernels::Sharpen>)
FC_FIXED_KERNEL_ENTRY(ippiFilterRobertsDown_8u_C3R, robertsCross<-1>)
FC_FIXED_KERNEL_ENTRY(ippiFilterRobertsUp_8u_C3R, robertsCross<+1>)
FC_FIXED_KERNEL_MASK_ENTRY(ippiFilterLaplace_8u_C3R, HighPass3x3, Laplace5x5)
FC_FIXED_KERNEL_MASK_ENTRY(ippiFilterHipass_8u_C3R, HighPass3x3, HighPass5x5)
FC_FIXED_KERNEL_MASK_ENTRY(ippiFilterGauss_8u_C3R, Gauss3x3, Gauss5x5)
FC_FIXED_KERNEL_MASK_ENTRY(ippiFilterLowpass_8u_C3R, Lowpass3x3, Lowpass5x5)

#undef FC_FIXED_KERNEL_ENTRY
#undef FC_FIXED_KERNEL_MASK_ENTRY
