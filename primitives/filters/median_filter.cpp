// median_filter.cpp - the rectangular median filter of three-channel 8-bit
// images.
//
// The mask picks the method, every one exact: a copy for 1 x 1, sorted
// columns for the 3 x 3 square, comparator networks for the 5 x 5 square and
// the 3- and 5-pixel rows and columns, a partial sort for taller
// one-pixel-wide columns and a sliding histogram for every other mask.
#include <array>

#include "dispatch/primitives.h"
#include "primitives/filters/median_3x3.h"
#include "primitives/filters/median_general.h"
#include "primitives/filters/median_network.h"
#include "primitives/filters/rank_support.h"

namespace fc::primitives::median {
namespace {

bool isEven(int value) { return value % 2 == 0; }

IppStatus checkMedianMask(IppiSize mask, IppiPoint anchor) {
  if (mask.width < 1 || mask.height < 1 || isEven(mask.width) || isEven(mask.height))
    return ippStsMaskSizeErr;
  return rank::checkMaskAndAnchor(mask, anchor);
}

/// Median through the network of Count taps: the mask's pixels row by row.
template <int Count>
void medianOfRectangle(const Ipp8u* origin, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi,
                       IppiSize mask) {
  std::array<Tap, Count> taps;
  for (int i = 0; i < Count; ++i) taps[i] = {i % mask.width, i / mask.width};
  medianOfTaps<Count>(origin, srcStep, dst, dstStep, roi, taps);
}

/// Runs the dedicated routine of the mask, if it has one.
bool medianOfDedicatedMask(const Ipp8u* origin, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi,
                           IppiSize mask) {
  const bool line = mask.width == 1 || mask.height == 1;
  const long long pixels = static_cast<long long>(mask.width) * mask.height;
  if (mask.width == 3 && mask.height == 3)
    medianOf3x3(origin, srcStep, dst, dstStep, roi);
  else if (mask.width == 5 && mask.height == 5)
    medianOfRectangle<25>(origin, srcStep, dst, dstStep, roi, mask);
  else if (line && pixels == 3)
    medianOfRectangle<3>(origin, srcStep, dst, dstStep, roi, mask);
  else if (line && pixels == 5)
    medianOfRectangle<5>(origin, srcStep, dst, dstStep, roi, mask);
  else
    return false;
  return true;
}

}  // namespace
}  // namespace fc::primitives::median

extern "C" FC_API IppStatus px_ippiFilterMedian_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst,
                                                        int dstStep, IppiSize roiSize, IppiSize maskSize,
                                                        IppiPoint anchor) {
  namespace median = fc::primitives::median;
  namespace rank = fc::primitives::rank;
  if (IppStatus status = rank::checkImagesSizeFirst(pSrc, srcStep, pDst, dstStep, roiSize)) return status;
  if (IppStatus status = median::checkMedianMask(maskSize, anchor)) return status;

  if (maskSize.width == 1 && maskSize.height == 1) {
    rank::copyRegion(pSrc, srcStep, pDst, dstStep, roiSize);
    return ippStsNoErr;
  }
  const Ipp8u* origin = rank::windowOrigin(pSrc, srcStep, anchor);
  if (median::medianOfDedicatedMask(origin, srcStep, pDst, dstStep, roiSize, maskSize)) return ippStsNoErr;
  if (maskSize.width == 1) return median::medianOfColumn(origin, srcStep, pDst, dstStep, roiSize, maskSize.height);
  median::medianByHistogram(origin, srcStep, pDst, dstStep, roiSize, maskSize);
  return ippStsNoErr;
}
