// rank_support.h - argument checks, window geometry and region copy shared by
// the rank filters (box, minimum, maximum, median, cross and colour median).
#pragma once

#include <cstddef>

#include "dispatch/Fcimagedefs.h"

namespace fc::primitives::rank {

/// Interleaved channels of every rank filter image.
inline constexpr int kChannels = 3;

/// Checks of the two-image list in the order most rank filters use: null
/// pointers, then the region size, then the steps. Returns ippStsNoErr when
/// all pass.
IppStatus checkImagesSizeFirst(const Ipp8u* src, int srcStep, const Ipp8u* dst, int dstStep,
                               IppiSize roi);

/// The same checks with the steps tested before the region size.
IppStatus checkImagesStepFirst(const Ipp8u* src, int srcStep, const Ipp8u* dst, int dstStep,
                               IppiSize roi);

/// Mask of at least one pixel each way, anchor inside it: ippStsMaskSizeErr,
/// ippStsAnchorErr or ippStsNoErr.
IppStatus checkMaskAndAnchor(IppiSize mask, IppiPoint anchor);

/// Mask given as a code: ippMskSize3x3 or ippMskSize5x5, else
/// ippStsMaskSizeErr.
IppStatus checkMaskCode(int mask);

/// Pixels from the centre to the edge of a coded mask: 1 or 2.
inline int maskCodeRadius(int mask) { return mask == ippMskSize5x5 ? 2 : 1; }

/// Minimum and maximum of two bytes, written so loops over them vectorise.
inline Ipp8u smaller(Ipp8u a, Ipp8u b) { return a < b ? a : b; }
inline Ipp8u larger(Ipp8u a, Ipp8u b) { return a < b ? b : a; }

/// Bytes of one region row.
inline std::size_t rowBytes(int width) { return static_cast<std::size_t>(width) * kChannels; }

/// Byte offset of pixel column x, row y from an image origin.
inline std::ptrdiff_t pixelOffset(int x, int y, int step) {
  return static_cast<std::ptrdiff_t>(y) * step + static_cast<std::ptrdiff_t>(x) * kChannels;
}

/// Top-left source pixel of the window of the first destination pixel.
inline const Ipp8u* windowOrigin(const Ipp8u* src, int srcStep, IppiPoint anchor) {
  return src - pixelOffset(anchor.x, anchor.y, srcStep);
}

/// Copies the region row by row (a 1 x 1 mask).
void copyRegion(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi);

}  // namespace fc::primitives::rank
