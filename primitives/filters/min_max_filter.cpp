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

/// Reduces one source row (starting at the window's left column) over
/// maskWidth pixels for each of `bytes` destination bytes.
template <typename Pick>
void reduceRow(const Ipp8u* src, std::ptrdiff_t bytes, int maskWidth, Ipp8u* out) {
  std::memcpy(out, src, static_cast<std::size_t>(bytes));
  for (int k = 1; k < maskWidth; ++k) {
    const Ipp8u* shifted = src + static_cast<std::ptrdiff_t>(k) * kChannels;
    for (std::ptrdiff_t i = 0; i < bytes; ++i) out[i] = Pick::pick(out[i], shifted[i]);
  }
}

/// Reduces the ring's rows into one destination row.
template <typename Pick>
void reduceRing(const Ipp8u* ring, std::ptrdiff_t rowStride, int rows, std::ptrdiff_t bytes,
                Ipp8u* dst) {
  std::memcpy(dst, ring, static_cast<std::size_t>(bytes));
  for (int r = 1; r < rows; ++r) {
    const Ipp8u* row = ring + r * rowStride;
    for (std::ptrdiff_t i = 0; i < bytes; ++i) dst[i] = Pick::pick(dst[i], row[i]);
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
    reduceRow<Pick>(origin + row * srcStep, bytes, mask.width, ring + (row % mask.height) * stride);
  };
  for (int row = 0; row + 1 < mask.height; ++row) reduceSourceRow(row);
  for (int y = 0; y < roi.height; ++y) {
    // The ring holds source rows y .. y + mask.height - 1 in some order.
    reduceSourceRow(static_cast<std::ptrdiff_t>(y) + mask.height - 1);
    reduceRing<Pick>(ring, stride, mask.height, bytes, dst + static_cast<std::ptrdiff_t>(y) * dstStep);
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
