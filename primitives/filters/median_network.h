// median_network.h - exact medians of small windows through comparator
// networks, applied to whole rows at once.
//
// A network is the merge-exchange sorting network of the window's value
// count, pruned to the comparators the middle position depends on. Applying
// it to any values leaves their median in the middle position, so the result
// is exact. The network runs on lanes of bytes: lane k holds, for a run of
// destination bytes, the source bytes of window tap k.
#pragma once

#include <array>
#include <span>

#include "dispatch/Fcimagedefs.h"

namespace fc::primitives::median {

/// Orders two positions: afterwards lo holds the smaller value.
struct Comparator {
  int lo;
  int hi;
};

/// The comparators that settle the middle of `count` values.
template <int Count>
struct MiddleNetwork {
  static constexpr int kMaxComparators = 256;
  std::array<Comparator, kMaxComparators> comparators{};
  int size = 0;
  std::span<const Comparator> list() const { return {comparators.data(), static_cast<std::size_t>(size)}; }
};

/// Builds the merge-exchange network of Count values, then keeps, walking
/// backwards, only comparators touching a position the middle depends on.
template <int Count>
constexpr MiddleNetwork<Count> makeMiddleNetwork() {
  static_assert(Count >= 3 && Count <= 32 && Count % 2 == 1);
  std::array<Comparator, MiddleNetwork<Count>::kMaxComparators> full{};
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
  std::array<bool, MiddleNetwork<Count>::kMaxComparators> keep{};
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

/// A window position: dx pixels right and dy rows down from the window origin.
struct Tap {
  int dx;
  int dy;
};

/// Largest window the lanes hold.
inline constexpr int kMaxTaps = 25;

/// For every destination byte, the median of the same channel's bytes at the
/// taps, counted from `origin` (the window origin of the first destination
/// pixel). `network` must be the middle network of taps.size() values.
void medianOfTaps(const Ipp8u* origin, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi,
                  std::span<const Tap> taps, std::span<const Comparator> network);

}  // namespace fc::primitives::median
