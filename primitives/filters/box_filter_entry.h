// box_filter_entry.h - defines the variant entry <tag>_ippiFilterBox_8u_C3R
// for the variant being compiled (see primitives/variant.h). Included by
// exactly one source per variant.
//
// Each channel's window sum S is kept incrementally: column sums over the
// window's rows for every source column of the extended row (region width +
// mask width - 1), updated by one entering and one leaving row per destination
// row. The horizontal sum adds the mask's columns directly for masks up to 16
// pixels wide (independent lanes the compiler vectorises) and slides a running
// sum across wider masks, so the cost per pixel never grows with the mask's
// height, nor with its width beyond 16.
//
// Masks of at most 257 pixels keep their sums in 16 bits: S stays below 2^16,
// so sums taken modulo 2^16 (column sums of tall masks wrap) are exact, and
// (S * m) >> k is computed as 16-bit multiplications of S by m's high and low
// halves, which gives the same bytes as the 32-bit product.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "dispatch/primitives.h"
#include "primitives/filters/box_divisor.h"
#include "primitives/filters/rank_support.h"
#include "primitives/variant.h"
#include "primitives/work_buffer.h"

namespace fc::primitives::box {
inline namespace FC_VARIANT_TAG {

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
  std::ptrdiff_t rowBytes() const { return static_cast<std::ptrdiff_t>(roi.width) * kChannels; }
  const Ipp8u* sourceRow(std::ptrdiff_t row) const { return origin + row * srcStep; }
};

/// Masks of up to this many pixels keep 16-bit sums (255 * n < 2^16).
inline constexpr long long kLargest16BitMask = 257;

/// Widest mask whose columns are added directly rather than slid.
inline constexpr int kWidestDirectMask = 16;

/// (S * m) >> k with k >= 16 on 16-bit sums: S * m >> 16 is S times m's high
/// half plus the high half of S times m's low half, below 2^15 because
/// S * m < 2^31.
struct Divide16 {
  std::uint16_t high;
  std::uint16_t low;
  int shift;  // k - 16
  explicit Divide16(ReciprocalShift d)
      : high(static_cast<std::uint16_t>(d.multiplier >> 16)),
        low(static_cast<std::uint16_t>(d.multiplier & 0xFFFF)), shift(d.shift - 16) {}
  Ipp8u operator()(std::uint16_t sum) const {
    const auto lowProduct = static_cast<std::uint16_t>((static_cast<std::uint32_t>(sum) * low) >> 16);
    const auto scaled = static_cast<std::uint16_t>(static_cast<std::uint16_t>(sum * high) + lowProduct);
    return static_cast<Ipp8u>(scaled >> shift);
  }
};

/// (S * m) >> k on 32-bit sums.
struct Divide32 {
  Ipp32s multiplier;
  int shift;
  explicit Divide32(ReciprocalShift d) : multiplier(d.multiplier), shift(d.shift) {}
  Ipp8u operator()(Ipp32s sum) const { return static_cast<Ipp8u>((sum * multiplier) >> shift); }
};

/// trunc(S * (1/n) + 0.000009) on single-precision sums.
struct DivideFloat {
  float reciprocal;
  Ipp8u operator()(float sum) const {
    const float mean = sum * reciprocal + 0.000009f;
    // Sums of very wide windows lose precision; keep the byte in range.
    return static_cast<Ipp8u>(std::clamp(static_cast<int>(mean), 0, 255));
  }
};

/// Column sums over the first window rows.
template <typename Sum>
void initColumnSums(const BoxGeometry& g, Sum* __restrict columns) {
  const std::ptrdiff_t count = g.sumColumns();
  std::fill(columns, columns + count, Sum(0));
  for (int row = 0; row < g.mask.height; ++row) {
    const Ipp8u* src = g.sourceRow(row);
    for (std::ptrdiff_t i = 0; i < count; ++i) columns[i] = static_cast<Sum>(columns[i] + Sum(src[i]));
  }
}

/// Moves the column sums one row down: the row at `leaving` goes, the row
/// mask.height below it comes.
template <typename Sum>
void slideColumnSums(const BoxGeometry& g, int leaving, Sum* __restrict columns) {
  const Ipp8u* out = g.sourceRow(leaving);
  const Ipp8u* in = g.sourceRow(static_cast<std::ptrdiff_t>(leaving) + g.mask.height);
  const std::ptrdiff_t count = g.sumColumns();
  for (std::ptrdiff_t i = 0; i < count; ++i) columns[i] = static_cast<Sum>(columns[i] + Sum(in[i]) - Sum(out[i]));
}

/// One destination row from the column sums, the Width columns of each
/// window added directly.
template <int Width, typename Sum, typename Mean>
void writeMeanRowDirect(const BoxGeometry& g, const Sum* __restrict columns, Ipp8u* __restrict dst, Mean mean) {
  const std::ptrdiff_t count = g.rowBytes();
  for (std::ptrdiff_t i = 0; i < count; ++i) {
    Sum sum = columns[i];
    for (int k = 1; k < Width; ++k) sum = static_cast<Sum>(sum + columns[i + k * kChannels]);
    dst[i] = mean(sum);
  }
}

/// One destination row from the column sums, a horizontal sum per channel
/// slid by one entering and one leaving column per pixel.
template <typename Sum, typename Mean>
void writeMeanRowSliding(const BoxGeometry& g, const Sum* columns, Ipp8u* dst, Mean mean) {
  const std::ptrdiff_t lead = (static_cast<std::ptrdiff_t>(g.mask.width) - 1) * kChannels;
  Sum sums[kChannels] = {};
  for (int c = 0; c < kChannels; ++c)
    for (std::ptrdiff_t i = c; i < lead; i += kChannels) sums[c] = static_cast<Sum>(sums[c] + columns[i]);
  for (int x = 0; x < g.roi.width; ++x) {
    for (int c = 0; c < kChannels; ++c) {
      const std::ptrdiff_t i = static_cast<std::ptrdiff_t>(x) * kChannels + c;
      sums[c] = static_cast<Sum>(sums[c] + columns[i + lead]);
      dst[i] = mean(sums[c]);
      sums[c] = static_cast<Sum>(sums[c] - columns[i]);
    }
  }
}

/// Runs the whole filter with column sums of type Sum; WriteRow makes one
/// destination row from them.
template <typename Sum, typename WriteRow>
void filterRows(const BoxGeometry& g, Sum* columns, WriteRow writeRow) {
  initColumnSums(g, columns);
  for (int y = 0; y < g.roi.height; ++y) {
    writeRow(columns, g.dst + static_cast<std::ptrdiff_t>(y) * g.dstStep);
    // The last row needs no update, and making it would read past the window.
    if (y + 1 < g.roi.height) slideColumnSums(g, y, columns);
  }
}

/// Runs the filter with the row writer for the mask's width: direct sums for
/// widths up to kWidestDirectMask, a sliding sum beyond. Single-precision
/// sums always slide, so they are rounded in the same order by every variant.
template <typename Sum, typename Mean, int Width = 1>
void filterChoosingWidth(const BoxGeometry& g, Sum* columns, Mean mean) {
  if constexpr (Width <= kWidestDirectMask && !std::is_floating_point_v<Sum>) {
    if (g.mask.width != Width) return filterChoosingWidth<Sum, Mean, Width + 1>(g, columns, mean);
    filterRows(g, columns, [&](const Sum* sums, Ipp8u* dst) { writeMeanRowDirect<Width>(g, sums, dst, mean); });
  } else {
    filterRows(g, columns, [&](const Sum* sums, Ipp8u* dst) { writeMeanRowSliding(g, sums, dst, mean); });
  }
}

template <typename Sum, typename Mean>
IppStatus filterWith(const BoxGeometry& g, Mean mean) {
  WorkBuffer<Sum> columns(g.sumColumns());
  if (!columns) return ippStsMemAllocErr;
  filterChoosingWidth(g, columns.get(), mean);
  return ippStsNoErr;
}

/// Picks the sums and the division by the mask's pixel count.
inline IppStatus filterBox(const BoxGeometry& g) {
  const long long pixels = static_cast<long long>(g.mask.width) * g.mask.height;
  if (pixels > kLargestIntegerMask) return filterWith<Ipp32f>(g, DivideFloat{1.0f / static_cast<float>(pixels)});
  const ReciprocalShift divisor = g.mask.width == 3 && g.mask.height == 3
                                      ? ReciprocalShift{kMultiplier3x3, kShift3x3}
                                      : reciprocalShift(1.0f / static_cast<float>(pixels));
  if (pixels <= kLargest16BitMask) return filterWith<Ipp16u>(g, Divide16(divisor));
  return filterWith<Ipp32s>(g, Divide32(divisor));
}

}  // namespace FC_VARIANT_TAG
}  // namespace fc::primitives::box

extern "C" FC_API IppStatus FC_VARIANT(ippiFilterBox_8u_C3R)(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst,
                                                              int dstStep, IppiSize roiSize, IppiSize maskSize,
                                                              IppiPoint anchor) {
  namespace box = fc::primitives::box;
  namespace rank = fc::primitives::rank;
  if (IppStatus status = rank::checkImagesStepFirst(pSrc, srcStep, pDst, dstStep, roiSize)) return status;
  if (IppStatus status = rank::checkMaskAndAnchor(maskSize, anchor)) return status;
  return box::filterBox(
      {rank::windowOrigin(pSrc, srcStep, anchor), srcStep, pDst, dstStep, roiSize, maskSize});
}
