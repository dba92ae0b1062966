// edge_copy.h - copies of an area of a frame that may reach beyond its edges,
// as the neighbourhood filters read them.
#pragma once

#include <cstddef>

#include "contracts/video/image_buffer.h"

namespace fc {

/// Copies the pixels of `area` of In to dst, rows dstStep bytes apart. The
/// area may reach beyond the frame on any side: a pixel outside the frame is
/// a copy of the frame's nearest pixel, so the edge rows and columns repeat.
void CopyRepeatingEdges(const TFCImageBuffer& In, TFCImageRect area, Ipp8u* dst, std::ptrdiff_t dstStep);

}  // namespace fc
