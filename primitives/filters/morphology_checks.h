// morphology_checks.h - the argument checks of erosion and dilation, shared
// by every code variant.
#pragma once

#include "dispatch/Fcimagedefs.h"

namespace fc::primitives {

/// Pointers, steps, region size, mask size, mask contents, anchor, then the
/// steps against the rows they must hold (`channels` bytes per pixel); the
/// first failing check decides.
IppStatus checkMorphology(const Ipp8u* pSrc, int srcStep, const Ipp8u* pDst, int dstStep, IppiSize roiSize,
                          const Ipp8u* pMask, IppiSize maskSize, IppiPoint anchor, int channels);

}  // namespace fc::primitives
