// helper_channels.h - filling, channel moves and the in-place colour twist,
// helper primitives of the combining, splitting and plug-in components.
// Plain functions (not entries of the dispatch table) with the primitives'
// conventions.
//
// Checks, the first failing one's status returned, nothing written on
// failure: a null pointer (image, value, order or matrix) -8; a region
// width or height below 1 -6; a step below 1 -14; a step shorter than one
// row of the region -37; then the function's own checks listed below.
// Source and destination must not overlap unless a function says so.
#pragma once

#include "dispatch/Fcimagedefs.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// Status of a channel order with an entry outside 0..2.
inline constexpr IppStatus ippStsChannelOrderErr = -60;

/// Fills a three-byte region with the pixel value[0], value[1], value[2].
FC_COMPONENTS_API IppStatus ippiSet_8u_C3R(const Ipp8u value[3], Ipp8u* pDst, int dstStep, IppiSize roiSize);

/// Copies a one-byte plane into one channel of a three-byte image: pDst
/// points at that channel's byte of the region's first pixel (the pixel's
/// first byte plus the channel number) and dstStep is the image's step,
/// which must hold roiSize.width three-byte pixels. Only the channel's bytes
/// are written, so planes may go into different channels at the same time.
FC_COMPONENTS_API IppStatus ippiCopy_8u_C1C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize);

/// Reorders the channels of three-byte pixels: destination channel c takes
/// source channel dstOrder[c]. Any entries of 0, 1, 2 are accepted (a
/// repeated entry copies a channel twice); others give -60. The IR form
/// works in place.
FC_COMPONENTS_API IppStatus ippiSwapChannels_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize,
                                  const int dstOrder[3]);
FC_COMPONENTS_API IppStatus ippiSwapChannels_8u_C3IR(Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize, const int dstOrder[3]);

/// Three-byte pixels into the first three bytes of four-byte pixels; the
/// fourth byte of each destination pixel keeps its value (it is read and
/// written back unchanged).
FC_COMPONENTS_API IppStatus ippiCopy_8u_C3AC4R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize);
/// The first three bytes of four-byte pixels into three-byte pixels.
FC_COMPONENTS_API IppStatus ippiCopy_8u_AC4C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize);

/// ippiColorTwist32f_8u_C3R in place: the same matrix arithmetic, rounding
/// and saturation, the result replacing each pixel.
FC_COMPONENTS_API IppStatus ippiColorTwist32f_8u_C3IR(Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize, const Ipp32f twist[3][4]);

}  // namespace fc
