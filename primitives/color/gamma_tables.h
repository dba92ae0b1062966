// gamma_tables.h - the forward and inverse gamma lookup tables, and the
// image walk shared by the generic and the SIMD variants, which differ only
// in the routine that looks up a row. Internal.
//
// Entry k of the forward table is 255 * f(k / 255) rounded to nearest with
// ties to even, f(v) = 4.5 v below 0.018 and 1.099 v^0.45 - 0.099 above; the
// inverse table uses g(v) = v / 4.5 below 0.0812 and
// ((v + 0.099) / 1.099)^(1 / 0.45) above. Stored as constants; a test
// recomputes them from that rule.
#pragma once

#include <cstddef>

#include "dispatch/primitives.h"

namespace fc::primitives {

extern const Ipp8u kGammaForward[256];
extern const Ipp8u kGammaInverse[256];

using LookUpTable = Ipp8u[256];

/// Replaces `n` bytes by their table entries; the destination may be the
/// source.
using LookUpRow = void (*)(const LookUpTable& table, const Ipp8u* src, Ipp8u* dst, std::size_t n);

/// Byte by byte.
void lookUpBytes(const LookUpTable& table, const Ipp8u* src, Ipp8u* dst, std::size_t n);

/// The gamma entries' argument checks, then `row` on every row.
IppStatus lookUpImage(LookUpRow row, const LookUpTable& table, const Ipp8u* src, int srcStep, Ipp8u* dst,
                      int dstStep, IppiSize roi);

}  // namespace fc::primitives

/// Defines the four gamma entries of variant `tag` on its row routine.
#define FC_DEFINE_GAMMA_VARIANTS(tag, row)                                                                \
  extern "C" FC_API IppStatus tag##_ippiGammaFwd_8u_C3R FC_TWO_IMAGE_PARAMS() {                           \
    return fc::primitives::lookUpImage(row, fc::primitives::kGammaForward, pSrc, srcStep, pDst, dstStep,  \
                                       roiSize);                                                          \
  }                                                                                                       \
  extern "C" FC_API IppStatus tag##_ippiGammaInv_8u_C3R FC_TWO_IMAGE_PARAMS() {                           \
    return fc::primitives::lookUpImage(row, fc::primitives::kGammaInverse, pSrc, srcStep, pDst, dstStep,  \
                                       roiSize);                                                          \
  }                                                                                                       \
  extern "C" FC_API IppStatus tag##_ippiGammaFwd_8u_C3IR FC_IN_PLACE_PARAMS() {                           \
    return fc::primitives::lookUpImage(row, fc::primitives::kGammaForward, pSrcDst, srcDstStep, pSrcDst,  \
                                       srcDstStep, roiSize);                                              \
  }                                                                                                       \
  extern "C" FC_API IppStatus tag##_ippiGammaInv_8u_C3IR FC_IN_PLACE_PARAMS() {                           \
    return fc::primitives::lookUpImage(row, fc::primitives::kGammaInverse, pSrcDst, srcDstStep, pSrcDst,  \
                                       srcDstStep, roiSize);                                              \
  }
