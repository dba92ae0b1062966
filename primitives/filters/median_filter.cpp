// median_filter.cpp - the rectangular median filter of three-channel 8-bit
// images.
//
// The mask picks the method, every one exact: a copy for 1 x 1, sorted
// columns for the 3 x 3 square, comparator networks for the 5 x 5 square and
// the 3- and 5-pixel rows and columns, a partial sort for taller
// one-pixel-wide columns and a sliding histogram for every other mask.
#include <array>

#include "dispatch/primitives.h"
#include "primitives/filters/median_general.h"
#include "primitives/filters/rank_support.h"
#include "primitives/filters/rank_variants.h"

namespace fc::primitives::rank {
namespace {

bool isEven(int value) { return value % 2 == 0; }

IppStatus checkMedianMask(IppiSize mask, IppiPoint anchor) {
  if (mask.width < 1 || mask.height < 1 || isEven(mask.width) || isEven(mask.height))
    return ippStsMaskSizeErr;
  return checkMaskAndAnchor(mask, anchor);
}

/// Median through the network of Count taps: the mask's pixels row by row.
template <int Count>
void medianOfRectangle(MedianOfTaps<Count> kernel, const Ipp8u* origin, int srcStep, Ipp8u* dst,
                       int dstStep, IppiSize roi, IppiSize mask) {
  std::array<Tap, Count> taps;
  for (int i = 0; i < Count; ++i) taps[i] = {i % mask.width, i / mask.width};
  kernel(origin, srcStep, dst, dstStep, roi, taps);
}

/// Runs the dedicated routine of the mask, if it has one.
bool medianOfDedicatedMask(const RankKernels& kernels, const Ipp8u* origin, int srcStep, Ipp8u* dst,
                           int dstStep, IppiSize roi, IppiSize mask) {
  const bool line = mask.width == 1 || mask.height == 1;
  const long long pixels = static_cast<long long>(mask.width) * mask.height;
  if (mask.width == 3 && mask.height == 3)
    kernels.medianOf3x3(origin, srcStep, dst, dstStep, roi);
  else if (mask.width == 5 && mask.height == 5)
    kernels.medianOf5x5(origin, srcStep, dst, dstStep, roi);
  else if (mask.width == 7 && mask.height == 7 && kernels.medianOf7x7)
    kernels.medianOf7x7(origin, srcStep, dst, dstStep, roi);
  else if (line && pixels == 3)
    medianOfRectangle<3>(kernels.medianOf3Taps, origin, srcStep, dst, dstStep, roi, mask);
  else if (line && pixels == 5)
    medianOfRectangle<5>(kernels.medianOf5Taps, origin, srcStep, dst, dstStep, roi, mask);
  else
    return false;
  return true;
}

}  // namespace

IppStatus filterMedian(const RankKernels& kernels, const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep,
                       IppiSize roi, IppiSize mask, IppiPoint anchor) {
  if (IppStatus status = checkImagesSizeFirst(src, srcStep, dst, dstStep, roi)) return status;
  if (IppStatus status = checkMedianMask(mask, anchor)) return status;

  if (mask.width == 1 && mask.height == 1) {
    copyRegion(src, srcStep, dst, dstStep, roi);
    return ippStsNoErr;
  }
  const Ipp8u* origin = windowOrigin(src, srcStep, anchor);
  if (medianOfDedicatedMask(kernels, origin, srcStep, dst, dstStep, roi, mask)) return ippStsNoErr;
  if (mask.width == 1) return median::medianOfColumn(origin, srcStep, dst, dstStep, roi, mask.height);
  median::medianByHistogram(origin, srcStep, dst, dstStep, roi, mask);
  return ippStsNoErr;
}

}  // namespace fc::primitives::rank

extern "C" FC_API IppStatus px_ippiFilterMedian_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst,
                                                        int dstStep, IppiSize roiSize, IppiSize maskSize,
                                                        IppiPoint anchor) {
  namespace rank = fc::primitives::rank;
  return rank::filterMedian(rank::kGenericKernels, pSrc, srcStep, pDst, dstStep, roiSize, maskSize, anchor);
}
