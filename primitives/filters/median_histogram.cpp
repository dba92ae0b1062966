// median_histogram.cpp - median of wide masks through a sliding histogram.
//
// Each channel keeps a 256-bin histogram of its window, the current median
// and the count of window values below it. A step to the right removes the
// leaving column and adds the entering one, adjusting that count, then moves
// the median down or up until exactly the right number of values lies below.
#include <array>
#include <cstddef>

#include "primitives/filters/median_general.h"
#include "primitives/filters/rank_support.h"

namespace fc::primitives::median {
namespace {

using rank::kChannels;

class SlidingHistogram {
 public:
  /// `half` is (n >> 1): the median has at most half values below it and
  /// more than half at or below it.
  explicit SlidingHistogram(long long half) : half_(half) {}

  void clear() {
    counts_.fill(0);
    median_ = 0;
    below_ = 0;
  }
  // Branch-free: whether a value lies below the median is unpredictable.
  void add(Ipp8u value) {
    ++counts_[value];
    below_ += value < median_;
  }
  void remove(Ipp8u value) {
    --counts_[value];
    below_ -= value < median_;
  }
  Ipp8u settleMedian() {
    while (below_ > half_) {
      --median_;
      below_ -= counts_[median_];
    }
    while (below_ + counts_[median_] <= half_) {
      below_ += counts_[median_];
      ++median_;
    }
    return static_cast<Ipp8u>(median_);
  }

 private:
  std::array<long long, 256> counts_{};
  long long half_;
  int median_ = 0;
  long long below_ = 0;
};

/// Adds (or removes) the mask-height bytes of one window column.
template <bool Add>
void applyColumn(SlidingHistogram& histogram, const Ipp8u* top, int srcStep, int rows) {
  for (int r = 0; r < rows; ++r) {
    const Ipp8u value = top[static_cast<std::ptrdiff_t>(r) * srcStep];
    if constexpr (Add)
      histogram.add(value);
    else
      histogram.remove(value);
  }
}

void medianRow(const Ipp8u* top, int srcStep, Ipp8u* dst, int width, IppiSize mask,
               std::array<SlidingHistogram, kChannels>& histograms) {
  for (int c = 0; c < kChannels; ++c) {
    SlidingHistogram& histogram = histograms[c];
    histogram.clear();
    for (int k = 0; k < mask.width; ++k)
      applyColumn<true>(histogram, top + rank::pixelOffset(k, 0, srcStep) + c, srcStep, mask.height);
    dst[c] = histogram.settleMedian();
  }
  for (int x = 1; x < width; ++x) {
    for (int c = 0; c < kChannels; ++c) {
      SlidingHistogram& histogram = histograms[c];
      applyColumn<false>(histogram, top + rank::pixelOffset(x - 1, 0, srcStep) + c, srcStep, mask.height);
      const std::ptrdiff_t entering = rank::pixelOffset(x, 0, srcStep) +
                                      rank::pixelOffset(mask.width - 1, 0, srcStep) + c;
      applyColumn<true>(histogram, top + entering, srcStep, mask.height);
      dst[rank::pixelOffset(x, 0, 0) + c] = histogram.settleMedian();
    }
  }
}

}  // namespace

void medianByHistogram(const Ipp8u* origin, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi,
                       IppiSize mask) {
  const long long half = static_cast<long long>(mask.width) * mask.height / 2;
  std::array<SlidingHistogram, kChannels> histograms{SlidingHistogram(half), SlidingHistogram(half),
                                                     SlidingHistogram(half)};
  for (int y = 0; y < roi.height; ++y)
    medianRow(origin + static_cast<std::ptrdiff_t>(y) * srcStep, srcStep,
              dst + static_cast<std::ptrdiff_t>(y) * dstStep, roi.width, mask, histograms);
}

}  // namespace fc::primitives::median
