// median_3x3.cpp - median of the 3 x 3 square through sorted columns.
#include "primitives/filters/median_3x3.h"

#include <algorithm>
#include <cstddef>

#include "primitives/filters/rank_support.h"

namespace fc::primitives::median {
namespace {

using rank::kChannels;
using rank::larger;
using rank::smaller;

/// Destination bytes per pass; the sorted columns of a pass stay in L1.
constexpr std::ptrdiff_t kRunBytes = 512;
constexpr std::ptrdiff_t kColumnBytes = kRunBytes + 2 * kChannels;

Ipp8u middleOf3(Ipp8u a, Ipp8u b, Ipp8u c) { return larger(smaller(a, b), smaller(larger(a, b), c)); }

/// Sorted columns of a run: low, middle and high byte of the three rows.
struct SortedColumns {
  Ipp8u low[kColumnBytes];
  Ipp8u middle[kColumnBytes];
  Ipp8u high[kColumnBytes];

  void sort(const Ipp8u* __restrict top, const Ipp8u* __restrict centre, const Ipp8u* __restrict bottom,
            std::ptrdiff_t length) {
    for (std::ptrdiff_t i = 0; i < length; ++i) {
      const Ipp8u a = top[i], b = centre[i], c = bottom[i];
      const Ipp8u lowAB = smaller(a, b), highAB = larger(a, b);
      low[i] = smaller(lowAB, c);
      high[i] = larger(highAB, c);
      middle[i] = larger(lowAB, smaller(highAB, c));
    }
  }

  void writeMedians(Ipp8u* __restrict dst, std::ptrdiff_t length) const {
    constexpr std::ptrdiff_t k = kChannels;
    for (std::ptrdiff_t i = 0; i < length; ++i) {
      const Ipp8u maxOfLows = larger(larger(low[i], low[i + k]), low[i + 2 * k]);
      const Ipp8u minOfHighs = smaller(smaller(high[i], high[i + k]), high[i + 2 * k]);
      const Ipp8u midOfMiddles = middleOf3(middle[i], middle[i + k], middle[i + 2 * k]);
      dst[i] = middleOf3(maxOfLows, midOfMiddles, minOfHighs);
    }
  }
};

}  // namespace

void medianOf3x3(const Ipp8u* origin, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi) {
  SortedColumns columns;
  const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(rank::rowBytes(roi.width));
  for (int y = 0; y < roi.height; ++y) {
    const Ipp8u* top = origin + static_cast<std::ptrdiff_t>(y) * srcStep;
    Ipp8u* dstRow = dst + static_cast<std::ptrdiff_t>(y) * dstStep;
    for (std::ptrdiff_t first = 0; first < rowBytes; first += kRunBytes) {
      const std::ptrdiff_t length = std::min(kRunBytes, rowBytes - first);
      columns.sort(top + first, top + srcStep + first, top + 2 * static_cast<std::ptrdiff_t>(srcStep) + first,
                   length + 2 * kChannels);
      columns.writeMedians(dstRow + first, length);
    }
  }
}

}  // namespace fc::primitives::median
