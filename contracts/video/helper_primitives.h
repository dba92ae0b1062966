// helper_primitives.h - the copy and mirror primitives of the base video
// package, and (through the headers included at the end) its arithmetic,
// logical and channel helpers. Plain functions (not entries of the dispatch table) with the
// primitives' conventions: arguments checked first (null pointers, then the
// region size, then the steps, then the axis), the first failing check's
// status returned, nothing written on failure.
#pragma once

#include "dispatch/Fcimagedefs.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// Axis of a mirror: about the horizontal axis (rows upside down), the
/// vertical axis (columns left to right), or both.
enum IppiAxis { ippAxsHorizontal = 0, ippAxsVertical = 1, ippAxsBoth = 2 };

/// Status of a mirror call with an axis outside IppiAxis.
inline constexpr IppStatus ippStsMirrorFlipErr = -21;

/// Copies a region of roiSize pixels of three (C3) or one (C1) byte.
FC_COMPONENTS_API IppStatus ippiCopy_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize);
FC_COMPONENTS_API IppStatus ippiCopy_8u_C1R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize);

/// Writes the region mirrored about `flip`. pSrc may equal pDst (in place);
/// other overlaps of source and destination are not supported.
FC_COMPONENTS_API IppStatus ippiMirror_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                              IppiSize roiSize, IppiAxis flip);
FC_COMPONENTS_API IppStatus ippiMirror_8u_C1R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                              IppiSize roiSize, IppiAxis flip);

}  // namespace fc

#include "contracts/video/helper_arithmetic.h"
#include "contracts/video/helper_channels.h"
#include "contracts/video/helper_logic.h"
