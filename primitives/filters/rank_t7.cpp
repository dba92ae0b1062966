// rank_t7.cpp - t7 variants of the minimum, maximum, median and cross
// median filters: the generic fronts running kernels compiled for AVX2.
//
// Everything that is not a kernel template is included before the target
// switch, so only the Avx2 instantiations carry AVX2 code.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <utility>

#include "dispatch/primitives.h"
#include "primitives/filters/rank_support.h"
#include "primitives/filters/rank_variants.h"
#include "primitives/variant.h"

FC_VARIANT_TARGET_BEGIN()
#include "primitives/filters/rank_kernel_table.h"
FC_VARIANT_TARGET_END()

namespace {

namespace rank = fc::primitives::rank;

constinit const rank::RankKernels kAvx2Kernels = rank::makeRankKernels<rank::Avx2>();

}  // namespace

extern "C" FC_API IppStatus t7_ippiFilterMin_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst,
                                                     int dstStep, IppiSize roiSize, IppiSize maskSize,
                                                     IppiPoint anchor) {
  return rank::filterMin(kAvx2Kernels, pSrc, srcStep, pDst, dstStep, roiSize, maskSize, anchor);
}

extern "C" FC_API IppStatus t7_ippiFilterMax_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst,
                                                     int dstStep, IppiSize roiSize, IppiSize maskSize,
                                                     IppiPoint anchor) {
  return rank::filterMax(kAvx2Kernels, pSrc, srcStep, pDst, dstStep, roiSize, maskSize, anchor);
}

extern "C" FC_API IppStatus t7_ippiFilterMedian_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst,
                                                        int dstStep, IppiSize roiSize, IppiSize maskSize,
                                                        IppiPoint anchor) {
  return rank::filterMedian(kAvx2Kernels, pSrc, srcStep, pDst, dstStep, roiSize, maskSize, anchor);
}

extern "C" FC_API IppStatus t7_ippiFilterMedianCross_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst,
                                                             int dstStep, IppiSize roiSize, int mask) {
  return rank::filterMedianCross(kAvx2Kernels, pSrc, srcStep, pDst, dstStep, roiSize, mask);
}
