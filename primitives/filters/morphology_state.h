// morphology_state.h - the morphology state record and the routines that size
// and fill it. The public header only declares IppiMorphState; callers get
// one from ippiMorphologyInitAlloc_8u_C3R and release it with
// ippiMorphologyFree.
#pragma once

#include <cstdint>

#include "dispatch/Fcimagedefs.h"

/// One block, 32-byte aligned: this record, then the mask copy at the first
/// 16-byte boundary past it, then the work area. The pointer fields are
/// pointer-sized, so the mask copy is placed past the whole record rather
/// than at a fixed offset that only fits 4-byte pointers.
struct IppiMorphState {
  Ipp8u* mask;        // the mask copy
  Ipp8u* rowMask;     // set to the mask copy
  Ipp8u* columnMask;  // set to the mask copy
  Ipp8u* work;        // the work area, directly after the mask copy
  Ipp32s reserved0;   // 0
  Ipp32s maskWidth;
  Ipp32s maskHeight;
  Ipp32s anchorX;
  Ipp32s anchorY;
  Ipp32s rightExtent;   // maskWidth - anchorX - 1
  Ipp32s bottomExtent;  // maskHeight - anchorY - 1
  Ipp32s rowBytes;      // length of one work row
  Ipp32s blockSize;     // bytes of the whole block
  Ipp32s dataType;      // 1 for 8-bit samples; other codes use 4 bytes per element
  Ipp32s channels;      // 3
  Ipp32s roiWidth;
  Ipp32s reserved1;  // -1
  Ipp32s reserved2;  // 0
};

namespace fc::primitives {

/// Data-type code of 8-bit samples.
inline constexpr Ipp32s kMorph8u = 1;

/// Where the parts of a state block lie, in bytes from the block's start.
struct MorphStateLayout {
  std::int64_t maskOffset;
  std::int64_t maskBytes;  // mask width x height, rounded up to 16
  std::int64_t rowBytes;
  std::int64_t workBytes;
  std::int64_t blockSize;
};

/// Lays out the state of a three-channel morphology of `roiWidth` pixels with
/// a mask of maskSize (both at least 1) and samples of `dataType`. The sizes
/// are 64-bit; a block size above INT32_MAX cannot be allocated.
MorphStateLayout morphStateLayout(int roiWidth, IppiSize maskSize, Ipp32s dataType);

/// Fills a block of at least layout.blockSize bytes, aligned to 32, as the
/// state and copies the mask into it. The arguments must have been checked.
IppiMorphState* initMorphState(void* block, const MorphStateLayout& layout, int roiWidth, const Ipp8u* pMask,
                               IppiSize maskSize, IppiPoint anchor, Ipp32s dataType);

}  // namespace fc::primitives
