// morphology_rows.h - row routines of erosion and dilation with an arbitrary
// structuring element.
//
// Each writes one destination row of `width` pixels: for every pixel and
// channel, the minimum (Erode) or maximum (Dilate) of the source bytes under
// the mask cells whose byte is non-zero; cells with a zero byte are ignored.
// pSrc is the top-left of the first pixel's window; the window of pixel x
// starts x pixels further right. The mask is maskHeight rows of maskWidth
// bytes. A mask without any non-zero byte writes nothing. Source and
// destination must not overlap.
#pragma once

#include "dispatch/Fcimagedefs.h"

namespace fc::primitives {

void Erode_8u_C1S(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int width, const Ipp8u* pMask, int maskWidth,
                  int maskHeight);
void Erode_8u_C3S(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int width, const Ipp8u* pMask, int maskWidth,
                  int maskHeight);
void Dilate_8u_C1S(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int width, const Ipp8u* pMask, int maskWidth,
                   int maskHeight);
void Dilate_8u_C3S(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int width, const Ipp8u* pMask, int maskWidth,
                   int maskHeight);

}  // namespace fc::primitives
