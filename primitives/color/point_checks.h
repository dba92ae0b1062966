// point_checks.h - argument checks and row walking shared by the point
// operations of this folder. Internal to the library.
#pragma once

#include <cstddef>

#include "dispatch/Fcimagedefs.h"

namespace fc::primitives {

/// Bytes in one row of a three-channel region.
inline std::size_t rowBytesC3(IppiSize roi) { return static_cast<std::size_t>(roi.width) * 3; }

/// Address of row y of an image whose rows lie `step` bytes apart.
template <typename Byte>
Byte* rowAt(Byte* image, int step, int y) {
  return image + static_cast<std::ptrdiff_t>(step) * y;
}

inline bool isEmpty(IppiSize roi) { return roi.width < 1 || roi.height < 1; }

/// Checks of a source/destination pair: null pointers, size, steps.
inline IppStatus checkTwoImages(const Ipp8u* src, int srcStep, const Ipp8u* dst, int dstStep,
                                IppiSize roi) {
  if (src == nullptr || dst == nullptr) return ippStsNullPtrErr;
  if (isEmpty(roi)) return ippStsSizeErr;
  if (srcStep < 1 || dstStep < 1) return ippStsStepErr;
  return ippStsNoErr;
}

/// Calls op(srcRow, dstRow, rowBytes) for every row of a three-channel region.
template <typename RowOp>
void forEachRowC3(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi, RowOp op) {
  const std::size_t bytes = rowBytesC3(roi);
  for (int y = 0; y < roi.height; ++y) op(rowAt(src, srcStep, y), rowAt(dst, dstStep, y), bytes);
}

}  // namespace fc::primitives
