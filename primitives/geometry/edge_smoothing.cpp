// edge_smoothing.cpp - blending of the pixels just outside a warped picture.
#include "primitives/geometry/edge_smoothing.h"

#include <algorithm>
#include <cmath>

namespace fc::primitives::warp {
namespace {

/// outside = outside * outsideWeight + inside * insideWeight + 0.5, truncated.
void blendPixel(Ipp8u* outside, const Ipp8u* inside, int channels, double outsideWeight, double insideWeight) {
  for (int c = 0; c < channels; ++c)
    outside[c] = static_cast<Ipp8u>(outside[c] * outsideWeight + inside[c] * insideWeight + 0.5);
}

/// The whole positions lo .. hi covered by an edge from a to b (coordinates of
/// one axis), limited to first .. last; false when none.
bool coveredRange(double a, double b, int first, int last, int* lo, int* hi) {
  const double from = std::max(std::ceil(std::min(a, b)), double(first));
  const double to = std::min(std::floor(std::max(a, b)), double(last));
  if (from > to) return false;
  *lo = static_cast<int>(from);
  *hi = static_cast<int>(to);
  return true;
}

/// Smooths along one edge. Walking by rows (an edge steeper than 45 degrees)
/// the edge's exact x on each row lies between two columns; walking by
/// columns (a flatter edge) its exact y on each column lies between two rows.
/// `insideIsAfter` tells whether the inside pixel is the right (lower) one.
void smoothEdge(Point a, Point b, bool byRows, bool insideIsAfter, const DestImage& dst, const PixelRect& r) {
  const int walkFirst = byRows ? r.y0 : r.x0, walkLast = byRows ? r.y1 : r.x1;
  const int acrossFirst = byRows ? r.x0 : r.y0, acrossLast = byRows ? r.x1 : r.y1;
  int lo = 0, hi = 0;
  if (!coveredRange(byRows ? a.y : a.x, byRows ? b.y : b.x, walkFirst, walkLast, &lo, &hi)) return;
  for (int k = lo; k <= hi; ++k) {
    const double exact = byRows ? edgeXAtRow(a, b, k) : edgeYAtColumn(a, b, k);
    const double before = std::floor(exact);
    if (before == exact || before < acrossFirst || before + 1 > acrossLast) continue;
    const int in = static_cast<int>(before) + (insideIsAfter ? 1 : 0);
    const int out = static_cast<int>(before) + (insideIsAfter ? 0 : 1);
    Ipp8u* outside = byRows ? dst.pixel(out, k) : dst.pixel(k, out);
    const Ipp8u* inside = byRows ? dst.pixel(in, k) : dst.pixel(k, in);
    blendPixel(outside, inside, dst.channels, std::fabs(exact - out), std::fabs(exact - in));
  }
}

}  // namespace

void smoothBorder(const Quad& quad, QuadShape shape, const DestImage& dst, const PixelRect& dstRect) {
  // For corners turning the positive way the inside of edge a -> b is where
  // (b - a) x (p - a) is positive.
  const bool positive = shape == QuadShape::positive;
  for (int k = 0; k < 4; ++k) {
    const Point a = quad[k];
    const Point b = quad[(k + 1) % 4];
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    if (dx == 0.0 || dy == 0.0) continue;
    const bool byRows = std::fabs(dy) > std::fabs(dx);
    smoothEdge(a, b, byRows, byRows ? positive == (dy < 0.0) : positive == (dx > 0.0), dst, dstRect);
  }
}

}  // namespace fc::primitives::warp
