// wiener_filter.h - the adaptive Wiener noise filter of the base video
// package: a plain function (not an entry of the dispatch table) with the
// primitives' conventions: arguments checked first, in the order listed
// below, the first failing check's status returned, nothing written on
// failure.
#pragma once

#include "dispatch/Fcimagedefs.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// A channel count other than 1 or 3.
inline constexpr IppStatus ippStsNumChannelsErr = -47;
/// A noise level below 0, above 1, or not a number.
inline constexpr IppStatus ippStsNoiseRangeErr = -125;

/// The bytes of scratch buffer `ippiFilterWiener_8u_C1R` (channels 1) or
/// `ippiFilterWiener_8u_C3R` (channels 3) needs for a region and mask.
/// Checks: pBufferSize null -8; roi width or height below 1 -6; mask width or
/// height below 1 -33; channels other than 1 or 3 -47; a size beyond INT_MAX
/// bytes -6.
FC_COMPONENTS_API IppStatus ippiFilterWienerGetBufferSize(IppiSize roiSize, IppiSize maskSize, int channels,
                                                          int* pBufferSize);

/// Filters each channel on its own with the local-mean, local-variance
/// Wiener rule. For destination pixel (x, y) the window covers source
/// columns x - anchor.x to x - anchor.x + maskSize.width - 1 and the rows
/// likewise (no border handling: the caller makes the window readable). With
/// n window bytes of sum S and sum of squares Q:
///
///   mean = S / n, variance = max(Q / n - mean^2, 0)
///   result = mean + (variance - noise) / variance * (source - mean)
///            when variance > noise, else mean
///
/// rounded to the nearest integer (halves up). The noise of a channel is
/// noise[c] * 255^2: the level is the noise variance as a fraction of the
/// full-scale power. A level of 0 estimates the noise as the mean of the
/// local variances over the region. `noise` holds one level per channel;
/// pBuffer at least the bytes `ippiFilterWienerGetBufferSize` gives.
///
/// Checks: pSrc, pDst, noise or pBuffer null -8; roi width or height below 1
/// -6; a step below 1 -14; mask width or height below 1 -33; anchor outside
/// the mask -34; srcStep below (roi width + mask width - 1) x channels, or
/// dstStep below roi width x channels, -37; a noise level outside 0..1 -125.
/// Source and destination must not overlap.
FC_COMPONENTS_API IppStatus ippiFilterWiener_8u_C1R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                                    IppiSize roiSize, IppiSize maskSize, IppiPoint anchor,
                                                    const Ipp32f noise[1], Ipp8u* pBuffer);
FC_COMPONENTS_API IppStatus ippiFilterWiener_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                                    IppiSize roiSize, IppiSize maskSize, IppiPoint anchor,
                                                    const Ipp32f noise[3], Ipp8u* pBuffer);

}  // namespace fc
