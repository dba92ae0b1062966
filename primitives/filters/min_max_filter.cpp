// min_max_filter.cpp - the generic minimum and maximum filters of
// three-channel 8-bit images.
//
// The rectangle is separated: each source row the windows need is reduced
// once horizontally over mask-width pixels into a ring of mask-height rows,
// and each destination row is the vertical reduction of the ring.
#include <cstddef>

#include "dispatch/primitives.h"
#include "primitives/filters/min_max_kernel.h"
#include "primitives/filters/rank_support.h"
#include "primitives/filters/rank_variants.h"
#include "primitives/work_buffer.h"

namespace fc::primitives::rank {
namespace {

/// Ring rows are padded to whole 32-byte blocks.
std::ptrdiff_t ringRowBytes(int width) {
  return (static_cast<std::ptrdiff_t>(width) * kChannels + 31) / 32 * 32;
}

template <typename Pick>
IppStatus filterExtreme(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi, IppiSize mask,
                        IppiPoint anchor) {
  if (IppStatus status = checkMinMax(src, srcStep, dst, dstStep, roi, mask, anchor)) return status;
  if (mask.width == 1 && mask.height == 1) {
    copyRegion(src, srcStep, dst, dstStep, roi);
    return ippStsNoErr;
  }

  const std::ptrdiff_t stride = ringRowBytes(roi.width);
  WorkBuffer<Ipp8u> ringBuffer(static_cast<std::int64_t>(stride) * mask.height);
  if (!ringBuffer) return ippStsMemAllocErr;
  Ipp8u* ring = ringBuffer.get();

  const Ipp8u* origin = windowOrigin(src, srcStep, anchor);
  const std::ptrdiff_t bytes = static_cast<std::ptrdiff_t>(rowBytes(roi.width));
  auto reduceSourceRow = [&](std::ptrdiff_t row) {
    minmax::reduceSpaced<Pick>(origin + row * srcStep, kChannels, mask.width, bytes, ring + (row % mask.height) * stride);
  };
  for (int row = 0; row + 1 < mask.height; ++row) reduceSourceRow(row);
  for (int y = 0; y < roi.height; ++y) {
    // The ring holds source rows y .. y + mask.height - 1 in some order.
    reduceSourceRow(static_cast<std::ptrdiff_t>(y) + mask.height - 1);
    minmax::reduceSpaced<Pick>(ring, stride, mask.height, bytes, dst + static_cast<std::ptrdiff_t>(y) * dstStep);
  }
  return ippStsNoErr;
}

}  // namespace

IppStatus checkMinMax(const Ipp8u* src, int srcStep, const Ipp8u* dst, int dstStep, IppiSize roi, IppiSize mask,
                      IppiPoint anchor) {
  if (IppStatus status = checkImagesSizeFirst(src, srcStep, dst, dstStep, roi)) return status;
  return checkMaskAndAnchor(mask, anchor);
}

}  // namespace fc::primitives::rank

extern "C" FC_API IppStatus px_ippiFilterMin_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst,
                                                     int dstStep, IppiSize roiSize, IppiSize maskSize,
                                                     IppiPoint anchor) {
  namespace rank = fc::primitives::rank;
  return rank::filterExtreme<fc::primitives::minmax::Minimum>(pSrc, srcStep, pDst, dstStep, roiSize, maskSize,
                                                              anchor);
}

extern "C" FC_API IppStatus px_ippiFilterMax_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst,
                                                     int dstStep, IppiSize roiSize, IppiSize maskSize,
                                                     IppiPoint anchor) {
  namespace rank = fc::primitives::rank;
  return rank::filterExtreme<fc::primitives::minmax::Maximum>(pSrc, srcStep, pDst, dstStep, roiSize, maskSize,
                                                              anchor);
}
