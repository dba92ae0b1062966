// morphology_t7.cpp - t7 variants of erosion and dilation: the structuring
// element split into runs of cells, each source row reduced once per run
// length, with AVX2 byte minima and maxima.
//
// Everything that is not compiled for AVX2 is included before the target
// switch, so no shared inline code is compiled for AVX2.
#include <immintrin.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

#include "dispatch/primitives.h"
#include "primitives/filters/mask_runs.h"
#include "primitives/filters/morphology_checks.h"
#include "primitives/variant.h"
#include "primitives/work_buffer.h"

FC_VARIANT_TARGET_BEGIN()

#include "primitives/filters/extreme_of_runs_t7.h"

namespace {

namespace morphology = fc::primitives::morphology;

template <int Channels, class Pick>
IppStatus filter(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize, const Ipp8u* pMask,
                 IppiSize maskSize, IppiPoint anchor) {
  const IppStatus status =
      fc::primitives::checkMorphology(pSrc, srcStep, pDst, dstStep, roiSize, pMask, maskSize, anchor, Channels);
  if (status != ippStsNoErr) return status;
  const morphology::MaskRuns runs(pMask, maskSize);
  if (!runs) return ippStsMemAllocErr;
  const Ipp8u* windowTopLeft =
      pSrc - static_cast<std::ptrdiff_t>(anchor.x) * Channels - static_cast<std::ptrdiff_t>(anchor.y) * srcStep;
  return morphology::avx2::extremeOfRuns<Pick>(runs, windowTopLeft, srcStep, Channels, pDst, dstStep, roiSize);
}

}  // namespace

#define FC_MORPHOLOGY_ENTRY(name, channels, pick)                                                      \
  extern "C" FC_API IppStatus FC_VARIANT(name)                                                        \
  FC_TWO_IMAGE_PARAMS(const Ipp8u* pMask, IppiSize maskSize, IppiPoint anchor) {                       \
    return filter<channels, morphology::avx2::pick> FC_TWO_IMAGE_ARGS(pMask, maskSize, anchor);        \
  }

FC_MORPHOLOGY_ENTRY(ippiErode_8u_C3R, 3, MinimumBytes)
FC_MORPHOLOGY_ENTRY(ippiErode_8u_C1R, 1, MinimumBytes)
FC_MORPHOLOGY_ENTRY(ippiDilate_8u_C3R, 3, MaximumBytes)
FC_MORPHOLOGY_ENTRY(ippiDilate_8u_C1R, 1, MaximumBytes)

#undef FC_MORPHOLOGY_ENTRY

FC_VARIANT_TARGET_END()
