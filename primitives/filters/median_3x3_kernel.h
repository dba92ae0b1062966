// median_3x3_kernel.h - exact median of the 3 x 3 square through sorted
// columns, as a kernel template compiled per instruction set.
//
// Each window column is sorted once per row and shared by the three windows
// that contain it; the median of the nine is then the middle of (largest
// column minimum, middle column middle, smallest column maximum).
#pragma once

#include <algorithm>
#include <cstddef>

#include "primitives/filters/rank_support.h"

namespace fc::primitives::median {

template <typename Isa>
class SortedColumns3x3 {
 public:
  /// Destination bytes per pass; the sorted columns of a pass stay in L1.
  static constexpr std::ptrdiff_t kRunBytes = 512;

  void sort(const Ipp8u* __restrict top, const Ipp8u* __restrict centre, const Ipp8u* __restrict bottom,
            std::ptrdiff_t length) {
    for (std::ptrdiff_t i = 0; i < length; ++i) {
      const Ipp8u a = top[i], b = centre[i], c = bottom[i];
      const Ipp8u lowAB = rank::smaller(a, b), highAB = rank::larger(a, b);
      low_[i] = rank::smaller(lowAB, c);
      high_[i] = rank::larger(highAB, c);
      middle_[i] = rank::larger(lowAB, rank::smaller(highAB, c));
    }
  }

  void writeMedians(Ipp8u* __restrict dst, std::ptrdiff_t length) const {
    constexpr std::ptrdiff_t k = rank::kChannels;
    for (std::ptrdiff_t i = 0; i < length; ++i) {
      const Ipp8u maxOfLows = rank::larger(rank::larger(low_[i], low_[i + k]), low_[i + 2 * k]);
      const Ipp8u minOfHighs = rank::smaller(rank::smaller(high_[i], high_[i + k]), high_[i + 2 * k]);
      const Ipp8u midOfMiddles = middleOf3(middle_[i], middle_[i + k], middle_[i + 2 * k]);
      dst[i] = middleOf3(maxOfLows, midOfMiddles, minOfHighs);
    }
  }

 private:
  static constexpr std::ptrdiff_t kColumnBytes = kRunBytes + 2 * rank::kChannels;

  static Ipp8u middleOf3(Ipp8u a, Ipp8u b, Ipp8u c) {
    return rank::larger(rank::smaller(a, b), rank::smaller(rank::larger(a, b), c));
  }

  Ipp8u low_[kColumnBytes];
  Ipp8u middle_[kColumnBytes];
  Ipp8u high_[kColumnBytes];
};

/// Rows ahead whose lines are fetched into the cache while a row is
/// filtered: the source row that many below the windows' bottom row, and
/// the destination row that many below, for writing. The processor's own
/// prefetcher starts on a new row only after its first misses, and every
/// destination row and the windows' bottom row are new rows.
inline constexpr int kRowsAhead = 2;

/// For every destination byte, the median of the same channel's 3 x 3 window
/// whose top-left pixel, for the first destination pixel, is `origin`.
template <typename Isa>
void medianOf3x3(const Ipp8u* origin, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi) {
  using Columns = SortedColumns3x3<Isa>;
  Columns columns;
  const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(rank::rowBytes(roi.width));
  const std::ptrdiff_t step = srcStep;
  for (int y = 0; y < roi.height; ++y) {
    const Ipp8u* top = origin + y * step;
    Ipp8u* dstRow = dst + static_cast<std::ptrdiff_t>(y) * dstStep;
    for (std::ptrdiff_t first = 0; first < rowBytes; first += Columns::kRunBytes) {
      const std::ptrdiff_t length = std::min(Columns::kRunBytes, rowBytes - first);
      if (y + kRowsAhead < roi.height) {
        const Ipp8u* below = top + (2 + kRowsAhead) * step + first;
        for (std::ptrdiff_t i = 0; i < length + 2 * rank::kChannels; i += 64) __builtin_prefetch(below + i);
        Ipp8u* out = dstRow + kRowsAhead * static_cast<std::ptrdiff_t>(dstStep) + first;
        for (std::ptrdiff_t i = 0; i < length; i += 64) __builtin_prefetch(out + i, 1);
      }
      columns.sort(top + first, top + step + first, top + 2 * step + first, length + 2 * rank::kChannels);
      columns.writeMedians(dstRow + first, length);
    }
  }
}

}  // namespace fc::primitives::median
