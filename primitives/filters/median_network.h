// median_network.h - exact medians of small windows through comparator
// networks, applied to runs of bytes at once.
#pragma once

#include <array>

#include "dispatch/Fcimagedefs.h"

namespace fc::primitives::median {

/// A window position: dx pixels right and dy rows down from the window origin.
struct Tap {
  int dx;
  int dy;
};

/// For every destination byte, the median of the same channel's bytes at the
/// Count taps, counted from `origin` (the window origin of the first
/// destination pixel). Instantiated for 3, 5, 9 and 25 taps.
template <int Count>
void medianOfTaps(const Ipp8u* origin, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi,
                  const std::array<Tap, Count>& taps);

}  // namespace fc::primitives::median
