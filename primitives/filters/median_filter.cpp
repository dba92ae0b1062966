// median_filter.cpp - the rectangular median filter of three-channel 8-bit
// images.
//
// The mask picks the method, every one exact: a copy for 1 x 1, comparator
// networks for the 3 x 3 and 5 x 5 squares and the 3- and 5-pixel rows and
// columns, a partial sort for taller one-pixel-wide columns and a sliding
// histogram for every other mask.
#include <array>
#include <span>

#include "dispatch/primitives.h"
#include "primitives/filters/median_general.h"
#include "primitives/filters/median_network.h"
#include "primitives/filters/rank_support.h"

namespace fc::primitives::median {
namespace {

constexpr auto kNetwork3 = makeMiddleNetwork<3>();
constexpr auto kNetwork5 = makeMiddleNetwork<5>();
constexpr auto kNetwork9 = makeMiddleNetwork<9>();
constexpr auto kNetwork25 = makeMiddleNetwork<25>();

bool isEven(int value) { return value % 2 == 0; }

IppStatus checkMedianMask(IppiSize mask, IppiPoint anchor) {
  if (mask.width < 1 || mask.height < 1 || isEven(mask.width) || isEven(mask.height))
    return ippStsMaskSizeErr;
  return rank::checkMaskAndAnchor(mask, anchor);
}

/// The comparators for a mask with a dedicated network, or an empty list.
std::span<const Comparator> dedicatedNetwork(IppiSize mask) {
  const long long pixels = static_cast<long long>(mask.width) * mask.height;
  const bool square = mask.width == mask.height;
  const bool line = mask.width == 1 || mask.height == 1;
  if (pixels == 3 && line) return kNetwork3.list();
  if (pixels == 5 && line) return kNetwork5.list();
  if (pixels == 9 && square) return kNetwork9.list();
  if (pixels == 25 && square) return kNetwork25.list();
  return {};
}

void medianOfRectangle(const Ipp8u* origin, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi,
                       IppiSize mask, std::span<const Comparator> network) {
  std::array<Tap, kMaxTaps> taps;
  int count = 0;
  for (int dy = 0; dy < mask.height; ++dy)
    for (int dx = 0; dx < mask.width; ++dx) taps[count++] = {dx, dy};
  medianOfTaps(origin, srcStep, dst, dstStep, roi, std::span(taps.data(), count), network);
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
  if (auto network = median::dedicatedNetwork(maskSize); !network.empty()) {
    median::medianOfRectangle(origin, srcStep, pDst, dstStep, roiSize, maskSize, network);
    return ippStsNoErr;
  }
  if (maskSize.width == 1) return median::medianOfColumn(origin, srcStep, pDst, dstStep, roiSize, maskSize.height);
  median::medianByHistogram(origin, srcStep, pDst, dstStep, roiSize, maskSize);
  return ippStsNoErr;
}
