// median_network_kernel.h - medians of small windows through comparator
// networks, as kernel templates compiled per instruction set.
//
// A network is the merge-exchange sorting network of the window's value
// count, pruned to the comparators the middle position depends on. Applying
// it to any values leaves their median in the middle position, so the result
// is exact. The taps of a run of destination bytes are first copied into
// lanes (lane k holds the source bytes of tap k), then the network runs on
// every byte position with its values held in registers, which the compiler
// turns into vector minima and maxima.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <utility>

#include "primitives/filters/rank_support.h"
#include "primitives/filters/rank_variants.h"

namespace fc::primitives::median {

/// Orders two positions: afterwards lo holds the smaller value.
struct Comparator {
  int lo;
  int hi;
};

template <int Count>
struct MiddleNetwork {
  static constexpr int kCapacity = 256;
  std::array<Comparator, kCapacity> comparators{};
  int size = 0;
};

/// Builds the merge-exchange network of Count values, then keeps, walking
/// backwards, only comparators touching a position the middle depends on.
template <int Count>
constexpr MiddleNetwork<Count> makeMiddleNetwork() {
  static_assert(Count >= 3 && Count <= 32 && Count % 2 == 1);
  std::array<Comparator, MiddleNetwork<Count>::kCapacity> full{};
  int total = 0;
  int log2 = 0;
  while ((1 << log2) < Count) ++log2;
  for (int p = 1 << (log2 - 1); p > 0; p >>= 1) {
    int q = 1 << (log2 - 1);
    int r = 0;
    int d = p;
    for (;;) {
      for (int i = 0; i + d < Count; ++i)
        if ((i & p) == r) full[total++] = {i, i + d};
      if (q == p) break;
      d = q - p;
      q >>= 1;
      r = p;
    }
  }
  std::array<bool, Count> needed{};
  needed[Count / 2] = true;
  std::array<bool, MiddleNetwork<Count>::kCapacity> keep{};
  for (int k = total - 1; k >= 0; --k) {
    if (needed[full[k].lo] || needed[full[k].hi]) {
      keep[k] = true;
      needed[full[k].lo] = needed[full[k].hi] = true;
    }
  }
  MiddleNetwork<Count> network;
  for (int k = 0; k < total; ++k)
    if (keep[k]) network.comparators[network.size++] = full[k];
  return network;
}

/// Destination bytes per pass; the lanes of a pass stay in L1.
constexpr std::ptrdiff_t kNetworkRunBytes = 256;

template <typename Isa, int Count>
class NetworkKernel {
 public:
  /// Medians of `length` bytes whose taps are in the lanes.
  static void run(const Ipp8u (&lanes)[Count][kNetworkRunBytes], Ipp8u* __restrict out, std::ptrdiff_t length) {
    for (std::ptrdiff_t i = 0; i < length; ++i) {
      Ipp8u v[Count];
      load(v, lanes, i, kAllTaps);
      apply(v, kAllComparators);
      out[i] = v[Count / 2];
    }
  }

 private:
  static constexpr MiddleNetwork<Count> kNetwork = makeMiddleNetwork<Count>();
  static constexpr auto kAllTaps = std::make_index_sequence<Count>();
  static constexpr auto kAllComparators = std::make_index_sequence<kNetwork.size>();

  static void order(Ipp8u& lo, Ipp8u& hi) {
    const Ipp8u a = lo;
    lo = rank::smaller(a, hi);
    hi = rank::larger(a, hi);
  }

  template <std::size_t... K>
  static void load(Ipp8u (&v)[Count], const Ipp8u (&lanes)[Count][kNetworkRunBytes], std::ptrdiff_t i,
                   std::index_sequence<K...>) {
    ((v[K] = lanes[K][i]), ...);
  }

  template <std::size_t... C>
  static void apply(Ipp8u (&v)[Count], std::index_sequence<C...>) {
    (order(v[kNetwork.comparators[C].lo], v[kNetwork.comparators[C].hi]), ...);
  }
};

template <typename Isa, int Count>
void medianOfTaps(const Ipp8u* origin, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi,
                  const std::array<rank::Tap, Count>& taps) {
  Ipp8u lanes[Count][kNetworkRunBytes];
  const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(rank::rowBytes(roi.width));
  for (int y = 0; y < roi.height; ++y) {
    const Ipp8u* rowOrigin = origin + static_cast<std::ptrdiff_t>(y) * srcStep;
    Ipp8u* dstRow = dst + static_cast<std::ptrdiff_t>(y) * dstStep;
    for (std::ptrdiff_t first = 0; first < rowBytes; first += kNetworkRunBytes) {
      const std::ptrdiff_t length = std::min(kNetworkRunBytes, rowBytes - first);
      for (int k = 0; k < Count; ++k)
        std::memcpy(lanes[k], rowOrigin + rank::pixelOffset(taps[k].dx, taps[k].dy, srcStep) + first,
                    static_cast<std::size_t>(length));
      NetworkKernel<Isa, Count>::run(lanes, dstRow + first, length);
    }
  }
}

/// Median of the 5 x 5 square through the 25-tap network.
template <typename Isa>
void medianOf5x5(const Ipp8u* origin, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi) {
  std::array<rank::Tap, 25> taps;
  for (int i = 0; i < 25; ++i) taps[i] = {i % 5, i / 5};
  medianOfTaps<Isa, 25>(origin, srcStep, dst, dstStep, roi, taps);
}

}  // namespace fc::primitives::median
