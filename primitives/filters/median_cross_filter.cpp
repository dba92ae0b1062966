// median_cross_filter.cpp - median over a cross centred on each pixel: the
// pixel and its nearest one (mask 33) or two (mask 55) neighbours above,
// below, left and right, per channel.
#include <array>

#include "dispatch/primitives.h"
#include "primitives/filters/rank_support.h"
#include "primitives/filters/rank_variants.h"

namespace fc::primitives::rank {
namespace {

// Taps from the top-left corner of the cross's bounding square.
constexpr std::array<Tap, 5> kCross3x3Taps{{{1, 0}, {0, 1}, {1, 1}, {2, 1}, {1, 2}}};
constexpr std::array<Tap, 9> kCross5x5Taps{
    {{2, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {2, 3}, {2, 4}}};

}  // namespace

IppStatus filterMedianCross(const RankKernels& kernels, const Ipp8u* src, int srcStep, Ipp8u* dst,
                            int dstStep, IppiSize roi, int mask) {
  if (IppStatus status = checkImagesSizeFirst(src, srcStep, dst, dstStep, roi)) return status;
  if (IppStatus status = checkMaskCode(mask)) return status;

  const int radius = maskCodeRadius(mask);
  const Ipp8u* origin = windowOrigin(src, srcStep, {radius, radius});
  if (mask == ippMskSize3x3)
    kernels.medianOf5Taps(origin, srcStep, dst, dstStep, roi, kCross3x3Taps);
  else
    kernels.medianOf9Taps(origin, srcStep, dst, dstStep, roi, kCross5x5Taps);
  return ippStsNoErr;
}

}  // namespace fc::primitives::rank

extern "C" FC_API IppStatus px_ippiFilterMedianCross_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst,
                                                             int dstStep, IppiSize roiSize, int mask) {
  namespace rank = fc::primitives::rank;
  return rank::filterMedianCross(rank::kGenericKernels, pSrc, srcStep, pDst, dstStep, roiSize, mask);
}
