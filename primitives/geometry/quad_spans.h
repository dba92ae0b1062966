// quad_spans.h - the quadrangle test and the rasterisation of a convex
// quadrangle, clipped to the destination rectangle, into row spans.
//
// Rasterisation rule: a pixel belongs to the spans exactly when its centre
// lies inside the quadrangle, boundary included, and inside the destination
// rectangle. An edge's position on a row (or column) is always computed from
// its two end points taken in one fixed order, so two quadrangles that share
// an edge see it at the same place: a pixel whose centre is not exactly on
// the edge belongs to exactly one of them.
#pragma once

#include "dispatch/primitives.h"
#include "primitives/geometry/warp_types.h"

namespace fc::primitives::warp {

/// Shape of a quadrangle from the cross products of consecutive edges at its
/// corners: all positive or all negative (convex, by orientation), mixed signs
/// (not convex), or one of them zero or not finite (degenerate).
enum class QuadShape { negative = 0, positive = 1, notConvex = -4, degenerate = -5 };

QuadShape checkQuad(const Quad& quad);
inline bool isConvex(QuadShape shape) { return shape == QuadShape::positive || shape == QuadShape::negative; }

/// The corners of `rect` (pixel centres), top-left first, clockwise on screen.
Quad cornersOf(const PixelRect& rect);

/// x of the line through a and b on row y (b.y != a.y), and y of it on
/// column x (b.x != a.x); both independent of the order of a and b.
double edgeXAtRow(Point a, Point b, double y);
double edgeYAtColumn(Point a, Point b, double x);

/// Per-row spans of the pixels a warp writes: rows firstRow() .. firstRow() +
/// rowCount() - 1, each with its first and last column (first > last for a
/// row with none). Kept in a buffer from ippsMalloc_32s.
class SpanList {
 public:
  SpanList() = default;
  ~SpanList() { ippsFree(columns_); }
  SpanList(const SpanList&) = delete;
  SpanList& operator=(const SpanList&) = delete;

  /// Rasterises the convex `quad` clipped to `dstRect`. ippStsWrongIntersectQuad
  /// when no pixel is left, ippStsMemAllocErr when the buffer is not available.
  IppStatus rasterise(const Quad& quad, const PixelRect& dstRect);
  /// Every pixel of `dstRect`.
  IppStatus whole(const PixelRect& dstRect);

  int firstRow() const { return firstRow_; }
  int rowCount() const { return rowCount_; }
  int first(int row) const { return columns_[2 * (row - firstRow_)]; }
  int last(int row) const { return columns_[2 * (row - firstRow_) + 1]; }
  /// Pixels in the longest span.
  long long widest() const;

 private:
  IppStatus allocate(int firstRow, int lastRow);

  Ipp32s* columns_ = nullptr;
  int firstRow_ = 0;
  int rowCount_ = 0;
};

}  // namespace fc::primitives::warp
