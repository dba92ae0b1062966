// helper_logic.h - per-byte logical operations on images, helper primitives
// of the combining and keying components. Plain functions (not entries of
// the dispatch table) with the primitives' conventions.
//
// C3 regions have three bytes per pixel, C1 regions one. The destination may
// be a source (the same pointer and step); other overlaps are not supported.
// The IR forms work in place: the result replaces pSrcDst.
//
// Checks, the first failing one's status returned, nothing written on
// failure: a null pointer -8; a region width or height below 1 -6; a step
// below 1 -14; a step shorter than one row of the region -37.
#pragma once

#include "dispatch/Fcimagedefs.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// pDst = src1 OR / AND / XOR src2, per byte.
FC_COMPONENTS_API IppStatus ippiOr_8u_C3R(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2, int src2Step, Ipp8u* pDst,
                        int dstStep, IppiSize roiSize);
FC_COMPONENTS_API IppStatus ippiOr_8u_C1R(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2, int src2Step, Ipp8u* pDst,
                        int dstStep, IppiSize roiSize);
FC_COMPONENTS_API IppStatus ippiAnd_8u_C3R(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2, int src2Step, Ipp8u* pDst,
                         int dstStep, IppiSize roiSize);
FC_COMPONENTS_API IppStatus ippiAnd_8u_C1R(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2, int src2Step, Ipp8u* pDst,
                         int dstStep, IppiSize roiSize);
FC_COMPONENTS_API IppStatus ippiXor_8u_C3R(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2, int src2Step, Ipp8u* pDst,
                         int dstStep, IppiSize roiSize);
FC_COMPONENTS_API IppStatus ippiXor_8u_C1R(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2, int src2Step, Ipp8u* pDst,
                         int dstStep, IppiSize roiSize);

/// pSrcDst = NOT pSrcDst, per byte.
FC_COMPONENTS_API IppStatus ippiNot_8u_C3IR(Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize);

/// pSrcDst = pSrc AND / OR pSrcDst, per byte.
FC_COMPONENTS_API IppStatus ippiAnd_8u_C3IR(const Ipp8u* pSrc, int srcStep, Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize);
FC_COMPONENTS_API IppStatus ippiOr_8u_C3IR(const Ipp8u* pSrc, int srcStep, Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize);

}  // namespace fc
