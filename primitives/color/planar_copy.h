// planar_copy.h - the split of a three-channel image into three planes,
// shared by the generic and the SIMD variants, which differ only in the
// routine that splits one row. Internal to the library.
#pragma once

#include "dispatch/primitives.h"

namespace fc::primitives {

/// Splits one row of `width` pixels into the three plane rows.
using SplitRow = void (*)(const Ipp8u* src, Ipp8u* const planes[3], int width);

/// Splits the pixels from column `from` to the end of the row one by one.
void splitRowGeneric(const Ipp8u* src, Ipp8u* const planes[3], int from, int width);

/// The planar copy's argument checks, then `split` on every row.
IppStatus copyToPlanes(SplitRow split, const Ipp8u* src, int srcStep, Ipp8u* const planes[3], int planeStep,
                       IppiSize roi);

}  // namespace fc::primitives
