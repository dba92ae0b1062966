// rank_t7.cpp - t7 variants of the minimum, maximum, median and cross
// median filters: the generic median fronts running kernels compiled for
// AVX2 (the 5 x 5 and 7 x 7 squares through shared sorted columns, see
// median_square_t7.h), and the minimum and maximum as the runs of a full
// rectangle (see extreme_of_runs_t7.h).
//
// Everything that is not a kernel template is included before the target
// switch, so only the Avx2 instantiations carry AVX2 code.
#include <immintrin.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <utility>

#include "dispatch/primitives.h"
#include "primitives/filters/mask_runs.h"
#include "primitives/filters/median_general.h"
#include "primitives/filters/merge_network.h"
#include "primitives/filters/rank_support.h"
#include "primitives/filters/rank_variants.h"
#include "primitives/variant.h"
#include "primitives/work_buffer.h"

FC_VARIANT_TARGET_BEGIN()
#include "primitives/filters/extreme_of_runs_t7.h"
#include "primitives/filters/median_square_t7.h"
#include "primitives/filters/rank_kernel_table.h"

namespace fc::primitives::rank {
namespace {

void medianOf5x5(const Ipp8u* origin, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi) {
  median::avx2::medianOfSquare<5>(origin, srcStep, dst, dstStep, roi, &median::medianOf5x5<Avx2>);
}

void medianOf7x7(const Ipp8u* origin, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi) {
  median::avx2::medianOfSquare<7>(origin, srcStep, dst, dstStep, roi,
                                  [](const Ipp8u* o, int ss, Ipp8u* d, int ds, IppiSize r) {
                                    median::medianByHistogram(o, ss, d, ds, r, {7, 7});
                                  });
}

}  // namespace
}  // namespace fc::primitives::rank
FC_VARIANT_TARGET_END()

namespace {

namespace rank = fc::primitives::rank;

constexpr rank::RankKernels avx2Kernels() {
  rank::RankKernels kernels = rank::makeRankKernels<rank::Avx2>();
  kernels.medianOf5x5 = &rank::medianOf5x5;
  kernels.medianOf7x7 = &rank::medianOf7x7;
  return kernels;
}

constinit const rank::RankKernels kAvx2Kernels = avx2Kernels();

template <class Pick>
IppStatus filterExtreme(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi, IppiSize mask,
                        IppiPoint anchor) {
  if (IppStatus status = rank::checkMinMax(src, srcStep, dst, dstStep, roi, mask, anchor)) return status;
  namespace morphology = fc::primitives::morphology;
  const morphology::MaskRuns rectangle(nullptr, mask);
  if (!rectangle) return ippStsMemAllocErr;
  return morphology::avx2::extremeOfRuns<Pick>(rectangle, rank::windowOrigin(src, srcStep, anchor), srcStep,
                                               rank::kChannels, dst, dstStep, roi);
}

}  // namespace

extern "C" FC_API IppStatus t7_ippiFilterMin_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst,
                                                     int dstStep, IppiSize roiSize, IppiSize maskSize,
                                                     IppiPoint anchor) {
  return filterExtreme<fc::primitives::morphology::avx2::MinimumBytes>(pSrc, srcStep, pDst, dstStep, roiSize,
                                                                       maskSize, anchor);
}

extern "C" FC_API IppStatus t7_ippiFilterMax_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst,
                                                     int dstStep, IppiSize roiSize, IppiSize maskSize,
                                                     IppiPoint anchor) {
  return filterExtreme<fc::primitives::morphology::avx2::MaximumBytes>(pSrc, srcStep, pDst, dstStep, roiSize,
                                                                       maskSize, anchor);
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
