// edge_smoothing.h - softening of the stair-stepped border of a warped
// picture (IPPI_SMOOTH_EDGE).
//
// Along every edge of the transformed quadrangle that is not parallel to an
// axis, the pixel just outside the edge (which the warp did not write) is
// blended with its neighbour just inside: for an edge steeper than 45 degrees
// the two pixels are the columns around the edge's exact x on each row, for a
// flatter one the rows around its exact y on each column. With e the edge's
// exact position, the outside pixel becomes
//   outside * |e - outside position| + inside * |e - inside position| + 0.5,
// truncated, per channel. Nothing happens where e is a whole number or where
// either pixel lies outside the destination rectangle: only pixels inside the
// destination rectangle are read or written.
#pragma once

#include "primitives/geometry/quad_spans.h"
#include "primitives/geometry/warp_types.h"

namespace fc::primitives::warp {

/// Smooths the border of the convex `quad` (shape positive or negative, as
/// from checkQuad) drawn into `dst`.
void smoothBorder(const Quad& quad, QuadShape shape, const DestImage& dst, const PixelRect& dstRect);

}  // namespace fc::primitives::warp
