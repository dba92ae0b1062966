// median_color_filter.cpp - the colour (vector) median: each destination
// pixel is the whole source pixel of its 3 x 3 or 5 x 5 window whose summed
// distance to all window pixels is smallest.
//
// The distance of two pixels is the sum of their three bytes' absolute
// differences. Among equal sums the pixel first in row-by-row order wins.
#include <array>
#include <cstddef>
#include <cstdlib>

#include "dispatch/primitives.h"
#include "primitives/filters/rank_support.h"

namespace fc::primitives::median {
namespace {

using rank::kChannels;

constexpr int kMaxWindow = 25;

int distance(const Ipp8u* a, const Ipp8u* b) {
  return std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
}

/// The window pixel with the smallest distance sum; `pixels` lists the
/// window row by row.
const Ipp8u* vectorMedian(const std::array<const Ipp8u*, kMaxWindow>& pixels, int count) {
  std::array<int, kMaxWindow> sums{};
  for (int i = 0; i < count; ++i)
    for (int j = i + 1; j < count; ++j) {
      const int d = distance(pixels[i], pixels[j]);
      sums[i] += d;
      sums[j] += d;
    }
  int best = 0;
  for (int i = 1; i < count; ++i)
    if (sums[i] < sums[best]) best = i;
  return pixels[best];
}

void colorMedian(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi, int radius) {
  const int side = 2 * radius + 1;
  std::array<const Ipp8u*, kMaxWindow> pixels{};
  for (int y = 0; y < roi.height; ++y) {
    for (int x = 0; x < roi.width; ++x) {
      const Ipp8u* corner = src + rank::pixelOffset(x - radius, y - radius, srcStep);
      for (int row = 0; row < side; ++row)
        for (int column = 0; column < side; ++column)
          pixels[row * side + column] = corner + rank::pixelOffset(column, row, srcStep);
      const Ipp8u* chosen = vectorMedian(pixels, side * side);
      Ipp8u* out = dst + rank::pixelOffset(x, y, dstStep);
      for (int c = 0; c < kChannels; ++c) out[c] = chosen[c];
    }
  }
}

}  // namespace
}  // namespace fc::primitives::median

extern "C" FC_API IppStatus px_ippiFilterMedianColor_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst,
                                                             int dstStep, IppiSize roiSize, int mask) {
  namespace rank = fc::primitives::rank;
  if (IppStatus status = rank::checkImagesSizeFirst(pSrc, srcStep, pDst, dstStep, roiSize)) return status;
  if (IppStatus status = rank::checkMaskCode(mask)) return status;
  fc::primitives::median::colorMedian(pSrc, srcStep, pDst, dstStep, roiSize, rank::maskCodeRadius(mask));
  return ippStsNoErr;
}
