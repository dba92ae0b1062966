// median_3x3.h - exact median of the 3 x 3 square through sorted columns.
#pragma once

#include "dispatch/Fcimagedefs.h"

namespace fc::primitives::median {

/// For every destination byte, the median of the same channel's 3 x 3
/// window whose top-left pixel, for the first destination pixel, is
/// `origin`. Each window column is sorted once per row and shared by the
/// three windows that contain it; the median of the nine is then the middle
/// of (largest column minimum, middle column middle, smallest column maximum).
void medianOf3x3(const Ipp8u* origin, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi);

}  // namespace fc::primitives::median
