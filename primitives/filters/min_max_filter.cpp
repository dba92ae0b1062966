// min_max_filter.cpp - the minimum and maximum filters of three-channel 8-bit
// images.
//
// The rectangle is separated: each source row the windows need is reduced
// once horizontally over mask-width pixels into a ring of mask-height rows,
// and each destination row is the vertical reduction of the ring.
#include <cstddef>
#include <cstring>

#include "dispatch/primitives.h"
#include "primitives/filters/rank_support.h"

namespace fc::primitives::minmax {
namespace {

using rank::kChannels;

struct Minimum {
  static Ipp8u pick(Ipp8u a, Ipp8u b) { return rank::smaller(a, b); }
};
struct Maximum {
  static Ipp8u pick(Ipp8u a, Ipp8u b) { return rank::larger(a, b); }
};

/// Ring rows are padded to whole 32-byte blocks.
std::ptrdiff_t ringRowBytes(int width) {
  return (static_cast<std::ptrdiff_t>(width) * kChannels + 31) / 32 * 32;
}

/// out[i] = the pick over k < count of first[i + k * stride]: a source row
/// over the mask's width (stride one pixel) or the ring over its rows (stride
/// one ring row). Two inputs are folded per pass to halve the passes.
template <typename Pick>
void reduceSpaced(const Ipp8u* first, std::ptrdiff_t stride, int count, std::ptrdiff_t bytes,
                  Ipp8u* __restrict out) {
  int k = 1;
  if (count % 2 == 0) {
    const Ipp8u* a = first;
    const Ipp8u* b = first + stride;
    for (std::ptrdiff_t i = 0; i < bytes; ++i) out[i] = Pick::pick(a[i], b[i]);
    k = 2;
  } else {
    std::memcpy(out, first, static_cast<std::size_t>(bytes));
  }
  for (; k + 1 < count; k += 2) {
    const Ipp8u* a = first + k * stride;
    const Ipp8u* b = a + stride;
    for (std::ptrdiff_t i = 0; i < bytes; ++i) out[i] = Pick::pick(out[i], Pick::pick(a[i], b[i]));
  }
}

template <typename Pick>
IppStatus filter(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi, IppiSize mask,
                 IppiPoint anchor) {
  if (IppStatus status = rank::checkImagesSizeFirst(src, srcStep, dst, dstStep, roi)) return status;
  if (IppStatus status = rank::checkMaskAndAnchor(mask, anchor)) return status;
  if (mask.width == 1 && mask.height == 1) {
    rank::copyRegion(src, srcStep, dst, dstStep, roi);
    return ippStsNoErr;
  }

  const std::ptrdiff_t stride = ringRowBytes(roi.width);
  Ipp8u* ring = ippsMalloc_8u(rank::workLength(static_cast<long long>(stride) * mask.height));
  if (ring == nullptr) return ippStsMemAllocErr;

  const Ipp8u* origin = rank::windowOrigin(src, srcStep, anchor);
  const std::ptrdiff_t bytes = static_cast<std::ptrdiff_t>(rank::rowBytes(roi.width));
  auto reduceSourceRow = [&](std::ptrdiff_t row) {
    reduceSpaced<Pick>(origin + row * srcStep, kChannels, mask.width, bytes, ring + (row % mask.height) * stride);
  };
  for (int row = 0; row + 1 < mask.height; ++row) reduceSourceRow(row);
  for (int y = 0; y < roi.height; ++y) {
    // The ring holds source rows y .. y + mask.height - 1 in some order.
    reduceSourceRow(static_cast<std::ptrdiff_t>(y) + mask.height - 1);
    reduceSpaced<Pick>(ring, stride, mask.height, bytes, dst + static_cast<std::ptrdiff_t>(y) * dstStep);
  }
  ippsFree(ring);
  return ippStsNoErr;
}

}  // namespace
}  // namespace fc::primitives::minmax

extern "C" FC_API IppStatus px_ippiFilterMin_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst,
                                                     int dstStep, IppiSize roiSize, IppiSize maskSize,
                                                     IppiPoint anchor) {
  using namespace fc::primitives::minmax;
  return filter<Minimum>(pSrc, srcStep, pDst, dstStep, roiSize, maskSize, anchor);
}

extern "C" FC_API IppStatus px_ippiFilterMax_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst,
                                                     int dstStep, IppiSize roiSize, IppiSize maskSize,
                                                     IppiPoint anchor) {
  using namespace fc::primitives::minmax;
  return filter<Maximum>(pSrc, srcStep, pDst, dstStep, roiSize, maskSize, anchor);
}
