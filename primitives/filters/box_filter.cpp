// box_filter.cpp - the box (mean) filter of three-channel 8-bit images.
//
// Each channel's window sum S is kept incrementally: column sums over the
// window's rows for every source column of the extended row (region width +
// mask width - 1), updated by one entering and one leaving row per destination
// row, and a horizontal sum slid across them by one entering and one leaving
// column per pixel. The cost per pixel therefore does not depend on the mask.
#include <algorithm>
#include <cstddef>

#include "dispatch/primitives.h"
#include "primitives/filters/box_divisor.h"
#include "primitives/filters/rank_support.h"
#include "primitives/work_buffer.h"

namespace fc::primitives::box {
namespace {

using rank::kChannels;

/// Source and destination of one call, with the window's extent.
struct BoxGeometry {
  const Ipp8u* origin;  // top-left pixel of the first window
  int srcStep;
  Ipp8u* dst;
  int dstStep;
  IppiSize roi;
  IppiSize mask;

  std::ptrdiff_t sumColumns() const {
    return (static_cast<std::ptrdiff_t>(roi.width) + mask.width - 1) * kChannels;
  }
  const Ipp8u* sourceRow(std::ptrdiff_t row) const { return origin + row * srcStep; }
};

/// Column sums over the first window rows.
template <typename Sum>
void initColumnSums(const BoxGeometry& g, Sum* columns) {
  const std::ptrdiff_t count = g.sumColumns();
  std::fill(columns, columns + count, Sum(0));
  for (int row = 0; row < g.mask.height; ++row) {
    const Ipp8u* src = g.sourceRow(row);
    for (std::ptrdiff_t i = 0; i < count; ++i) columns[i] = columns[i] + Sum(src[i]);
  }
}

/// Moves the column sums one row down: the row at `leaving` goes, the row
/// mask.height below it comes.
template <typename Sum>
void slideColumnSums(const BoxGeometry& g, int leaving, Sum* columns) {
  const Ipp8u* out = g.sourceRow(leaving);
  const Ipp8u* in = g.sourceRow(static_cast<std::ptrdiff_t>(leaving) + g.mask.height);
  const std::ptrdiff_t count = g.sumColumns();
  for (std::ptrdiff_t i = 0; i < count; ++i) columns[i] = columns[i] + Sum(in[i]) - Sum(out[i]);
}

/// Slides the horizontal sum along one row of column sums and writes
/// mean(S) for every pixel.
template <typename Sum, typename Mean>
void writeMeanRow(const BoxGeometry& g, const Sum* columns, Ipp8u* dst, Mean mean) {
  const std::ptrdiff_t lead = (static_cast<std::ptrdiff_t>(g.mask.width) - 1) * kChannels;
  Sum sums[kChannels] = {};
  for (int c = 0; c < kChannels; ++c)
    for (std::ptrdiff_t i = c; i < lead; i += kChannels) sums[c] = sums[c] + columns[i];
  for (int x = 0; x < g.roi.width; ++x) {
    for (int c = 0; c < kChannels; ++c) {
      const std::ptrdiff_t i = static_cast<std::ptrdiff_t>(x) * kChannels + c;
      sums[c] = sums[c] + columns[i + lead];
      dst[i] = mean(sums[c]);
      sums[c] = sums[c] - columns[i];
    }
  }
}

/// Runs the whole filter with column sums of type Sum.
template <typename Sum, typename Mean>
void filterWithColumnSums(const BoxGeometry& g, Sum* columns, Mean mean) {
  initColumnSums(g, columns);
  for (int y = 0; y < g.roi.height; ++y) {
    writeMeanRow(g, columns, g.dst + static_cast<std::ptrdiff_t>(y) * g.dstStep, mean);
    // The last row needs no update, and making it would read past the window.
    if (y + 1 < g.roi.height) slideColumnSums(g, y, columns);
  }
}

IppStatus filterFloat(const BoxGeometry& g, long long pixels) {
  WorkBuffer<Ipp32f> columns(g.sumColumns());
  if (!columns) return ippStsMemAllocErr;
  const float reciprocal = 1.0f / static_cast<float>(pixels);
  filterWithColumnSums(g, columns.get(), [reciprocal](float sum) {
    const float mean = sum * reciprocal + 0.000009f;
    // Sums of very wide windows lose precision; keep the byte in range.
    return static_cast<Ipp8u>(std::clamp(static_cast<int>(mean), 0, 255));
  });
  return ippStsNoErr;
}

IppStatus filterInteger(const BoxGeometry& g, ReciprocalShift divisor) {
  WorkBuffer<Ipp32s> columns(g.sumColumns());
  if (!columns) return ippStsMemAllocErr;
  filterWithColumnSums(g, columns.get(), [divisor](Ipp32s sum) {
    return static_cast<Ipp8u>((sum * divisor.multiplier) >> divisor.shift);
  });
  return ippStsNoErr;
}

}  // namespace
}  // namespace fc::primitives::box

extern "C" FC_API IppStatus px_ippiFilterBox_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst,
                                                     int dstStep, IppiSize roiSize, IppiSize maskSize,
                                                     IppiPoint anchor) {
  namespace box = fc::primitives::box;
  namespace rank = fc::primitives::rank;
  if (IppStatus status = rank::checkImagesStepFirst(pSrc, srcStep, pDst, dstStep, roiSize)) return status;
  if (IppStatus status = rank::checkMaskAndAnchor(maskSize, anchor)) return status;

  const box::BoxGeometry geometry{rank::windowOrigin(pSrc, srcStep, anchor), srcStep, pDst, dstStep,
                                  roiSize, maskSize};
  const long long pixels = static_cast<long long>(maskSize.width) * maskSize.height;
  if (pixels > box::kLargestIntegerMask) return box::filterFloat(geometry, pixels);
  if (maskSize.width == 3 && maskSize.height == 3)
    return box::filterInteger(geometry, {box::kMultiplier3x3, box::kShift3x3});
  return box::filterInteger(geometry, box::reciprocalShift(1.0f / static_cast<float>(pixels)));
}
