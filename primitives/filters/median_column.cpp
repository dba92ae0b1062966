// median_column.cpp - median of one-pixel-wide masks by partial bubble sort.
#include <cstddef>
#include <utility>

#include "dispatch/primitives.h"
#include "primitives/filters/median_general.h"
#include "primitives/filters/rank_support.h"
#include "primitives/work_buffer.h"

namespace fc::primitives::median {
namespace {

/// Bubbles the smallest remaining value down to each position up to the
/// middle; the middle then holds the median.
Ipp8u middleByBubblePasses(Ipp8u* values, int count) {
  const int middle = count / 2;
  for (int settled = 0; settled <= middle; ++settled)
    for (int j = count - 1; j > settled; --j)
      if (values[j] < values[j - 1]) std::swap(values[j], values[j - 1]);
  return values[middle];
}

}  // namespace

IppStatus medianOfColumn(const Ipp8u* origin, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi,
                         int maskHeight) {
  WorkBuffer<Ipp8u> columnBuffer(maskHeight);
  if (!columnBuffer) return ippStsMemAllocErr;
  Ipp8u* column = columnBuffer.get();
  const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(rank::rowBytes(roi.width));
  for (int y = 0; y < roi.height; ++y) {
    const Ipp8u* top = origin + static_cast<std::ptrdiff_t>(y) * srcStep;
    Ipp8u* dstRow = dst + static_cast<std::ptrdiff_t>(y) * dstStep;
    for (std::ptrdiff_t i = 0; i < rowBytes; ++i) {
      for (int r = 0; r < maskHeight; ++r) column[r] = top[static_cast<std::ptrdiff_t>(r) * srcStep + i];
      dstRow[i] = middleByBubblePasses(column, maskHeight);
    }
  }
  return ippStsNoErr;
}

}  // namespace fc::primitives::median
