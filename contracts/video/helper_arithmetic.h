// helper_arithmetic.h - per-byte saturating arithmetic of two images, the
// helper primitives the combining components run per frame. Plain functions
// (not entries of the dispatch table) with the primitives' conventions.
//
// Arguments: two sources (src1, src2), a destination and the region size in
// pixels; C3 regions have three bytes per pixel, C1 regions one. The
// destination may be either source (the same pointer and step); other
// overlaps are not supported.
//
// Checks, the first failing one's status returned, nothing written on
// failure: a null pointer -8; a region width or height below 1 -6; a step
// below 1 -14; a step shorter than one row of the region -37.
//
// With a = the src1 byte and b = the src2 byte, scale factor 0 gives:
//   Add  min(a + b, 255)
//   Sub  max(b - a, 0)                     (src2 minus src1)
//   Mul  min(a * b, 255)
//   Div  b / a rounded to the nearest integer, halves to even;
//        255 where a = 0 < b, 0 where a = b = 0   (src2 divided by src1)
// A scale factor s scales the exact result by 2^-s before that rounding and
// saturation: Add with s = 1 is (a + b) / 2 rounded half to even, Mul with
// s = 8 is a * b / 256, Div with s = -2 is 4 b / a. Any int is accepted.
#pragma once

#include "dispatch/Fcimagedefs.h"
#include "platform/runtime/components_api.h"

namespace fc {

FC_COMPONENTS_API IppStatus ippiAdd_8u_C3RSfs(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2, int src2Step, Ipp8u* pDst,
                            int dstStep, IppiSize roiSize, int scaleFactor);
FC_COMPONENTS_API IppStatus ippiAdd_8u_C1RSfs(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2, int src2Step, Ipp8u* pDst,
                            int dstStep, IppiSize roiSize, int scaleFactor);

FC_COMPONENTS_API IppStatus ippiSub_8u_C3RSfs(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2, int src2Step, Ipp8u* pDst,
                            int dstStep, IppiSize roiSize, int scaleFactor);
FC_COMPONENTS_API IppStatus ippiSub_8u_C1RSfs(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2, int src2Step, Ipp8u* pDst,
                            int dstStep, IppiSize roiSize, int scaleFactor);

FC_COMPONENTS_API IppStatus ippiMul_8u_C3RSfs(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2, int src2Step, Ipp8u* pDst,
                            int dstStep, IppiSize roiSize, int scaleFactor);
FC_COMPONENTS_API IppStatus ippiMul_8u_C1RSfs(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2, int src2Step, Ipp8u* pDst,
                            int dstStep, IppiSize roiSize, int scaleFactor);

FC_COMPONENTS_API IppStatus ippiDiv_8u_C3RSfs(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2, int src2Step, Ipp8u* pDst,
                            int dstStep, IppiSize roiSize, int scaleFactor);
FC_COMPONENTS_API IppStatus ippiDiv_8u_C1RSfs(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2, int src2Step, Ipp8u* pDst,
                            int dstStep, IppiSize roiSize, int scaleFactor);

/// |a - b| per byte of a one-byte region; a three-byte image is passed as a
/// region of (width x 3) x height.
FC_COMPONENTS_API IppStatus ippiAbsDiff_8u_C1R(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2, int src2Step, Ipp8u* pDst,
                             int dstStep, IppiSize roiSize);

}  // namespace fc
