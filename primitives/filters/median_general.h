// median_general.h - exact medians of any odd mask without a dedicated
// routine: a partial sort for one-pixel-wide masks, a sliding histogram for
// wider ones.
#pragma once

#include "dispatch/Fcimagedefs.h"

namespace fc::primitives::median {

/// Median of a 1 x maskHeight column per byte: the column is copied into a
/// work buffer and bubble passes from its end run until the middle is
/// settled. Returns ippStsMemAllocErr, before writing, when the buffer cannot
/// be allocated.
IppStatus medianOfColumn(const Ipp8u* origin, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi,
                         int maskHeight);

/// Median of a mask at least three pixels wide through a 256-bin histogram
/// per channel, slid one column at a time along each row.
void medianByHistogram(const Ipp8u* origin, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi,
                       IppiSize mask);

}  // namespace fc::primitives::median
