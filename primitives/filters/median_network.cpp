// median_network.cpp - applies a middle-selection network to rows of bytes.
#include "primitives/filters/median_network.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "primitives/filters/rank_support.h"

namespace fc::primitives::median {
namespace {

/// Destination bytes handled per pass; kMaxTaps lanes of it stay in L1.
constexpr std::ptrdiff_t kRunBytes = 256;

using Lanes = Ipp8u[kMaxTaps][kRunBytes];

void applyComparator(Ipp8u* __restrict lo, Ipp8u* __restrict hi, std::ptrdiff_t length) {
  for (std::ptrdiff_t i = 0; i < length; ++i) {
    const Ipp8u a = lo[i];
    const Ipp8u b = hi[i];
    lo[i] = std::min(a, b);
    hi[i] = std::max(a, b);
  }
}

/// Medians of one run of `length` bytes starting at byte `first` of a row.
void medianOfRun(const Ipp8u* rowOrigin, int srcStep, std::ptrdiff_t first, std::ptrdiff_t length,
                 std::span<const Tap> taps, std::span<const Comparator> network, Lanes& lanes,
                 Ipp8u* dst) {
  for (std::size_t k = 0; k < taps.size(); ++k) {
    const Ipp8u* src = rowOrigin + rank::pixelOffset(taps[k].dx, taps[k].dy, srcStep) + first;
    std::memcpy(lanes[k], src, static_cast<std::size_t>(length));
  }
  for (const Comparator& c : network) applyComparator(lanes[c.lo], lanes[c.hi], length);
  std::memcpy(dst + first, lanes[taps.size() / 2], static_cast<std::size_t>(length));
}

}  // namespace

void medianOfTaps(const Ipp8u* origin, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi,
                  std::span<const Tap> taps, std::span<const Comparator> network) {
  Lanes lanes;
  const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(rank::rowBytes(roi.width));
  for (int y = 0; y < roi.height; ++y) {
    const Ipp8u* rowOrigin = origin + static_cast<std::ptrdiff_t>(y) * srcStep;
    Ipp8u* dstRow = dst + static_cast<std::ptrdiff_t>(y) * dstStep;
    for (std::ptrdiff_t first = 0; first < rowBytes; first += kRunBytes)
      medianOfRun(rowOrigin, srcStep, first, std::min(kRunBytes, rowBytes - first), taps, network,
                  lanes, dstRow);
  }
}

}  // namespace fc::primitives::median
