// edge_copy.h - copies of an area of a frame that may reach beyond its edges,
// as the neighbourhood filters read them.
#pragma once

#include <cstddef>
#include <cstring>

#include "contracts/video/image_buffer.h"

namespace fc {

/// Copies `bytes` bytes; runs of 16 to 128 bytes in 16-byte moves, the last
/// overlapping the one before, without a call: the rows of the strips along
/// a frame's edges are a few dozen bytes, where a call per row costs as much
/// as the copy.
inline void CopyShortRun(Ipp8u* dst, const Ipp8u* src, std::size_t bytes) {
  constexpr std::size_t kMove = 16;
  constexpr std::size_t kLongestShortRun = 128;
  if (bytes < kMove || bytes > kLongestShortRun) {
    std::memcpy(dst, src, bytes);
    return;
  }
  for (std::size_t i = 0; i + kMove < bytes; i += kMove) std::memcpy(dst + i, src + i, kMove);
  std::memcpy(dst + bytes - kMove, src + bytes - kMove, kMove);
}

/// Copies the pixels of `area` of In to dst, rows dstStep bytes apart. The
/// area may reach beyond the frame on any side: a pixel outside the frame is
/// a copy of the frame's nearest pixel, so the edge rows and columns repeat.
void CopyRepeatingEdges(const TFCImageBuffer& In, TFCImageRect area, Ipp8u* dst, std::ptrdiff_t dstStep);

}  // namespace fc
