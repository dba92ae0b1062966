// median_cross_filter.cpp - median over a cross centred on each pixel: the
// pixel and its nearest one (mask 33) or two (mask 55) neighbours above,
// below, left and right, per channel.
#include <array>

#include "dispatch/primitives.h"
#include "primitives/filters/median_network.h"
#include "primitives/filters/rank_support.h"

namespace fc::primitives::median {
namespace {

// Taps from the top-left corner of the cross's bounding square.
constexpr std::array<Tap, 5> kCross3x3Taps{{{1, 0}, {0, 1}, {1, 1}, {2, 1}, {1, 2}}};
constexpr std::array<Tap, 9> kCross5x5Taps{
    {{2, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {2, 3}, {2, 4}}};

}  // namespace
}  // namespace fc::primitives::median

extern "C" FC_API IppStatus px_ippiFilterMedianCross_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst,
                                                             int dstStep, IppiSize roiSize, int mask) {
  namespace median = fc::primitives::median;
  namespace rank = fc::primitives::rank;
  if (IppStatus status = rank::checkImagesSizeFirst(pSrc, srcStep, pDst, dstStep, roiSize)) return status;
  if (IppStatus status = rank::checkMaskCode(mask)) return status;

  const int radius = rank::maskCodeRadius(mask);
  const Ipp8u* origin = rank::windowOrigin(pSrc, srcStep, {radius, radius});
  if (mask == ippMskSize3x3)
    median::medianOfTaps<5>(origin, srcStep, pDst, dstStep, roiSize, median::kCross3x3Taps);
  else
    median::medianOfTaps<9>(origin, srcStep, pDst, dstStep, roiSize, median::kCross5x5Taps);
  return ippStsNoErr;
}
