// quad_spans.cpp - quadrangle test and rasterisation into row spans.
#include "primitives/geometry/quad_spans.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace fc::primitives::warp {
namespace {

double cross(Point a, Point b) { return a.x * b.y - a.y * b.x; }
Point minus(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }

/// The x range of the convex quadrangle on row y; false when the row misses it.
bool rowInterval(const Quad& q, double y, double* left, double* right) {
  bool hit = false;
  auto include = [&](double x) {
    *left = hit ? std::min(*left, x) : x;
    *right = hit ? std::max(*right, x) : x;
    hit = true;
  };
  for (int k = 0; k < 4; ++k) {
    const Point a = q[k];
    const Point b = q[(k + 1) % 4];
    if (a.y == b.y) {
      if (y == a.y) {
        include(a.x);
        include(b.x);
      }
    } else if (y >= std::min(a.y, b.y) && y <= std::max(a.y, b.y)) {
      include(edgeXAtRow(a, b, y));
    }
  }
  return hit;
}

}  // namespace

QuadShape checkQuad(const Quad& q) {
  int positive = 0;
  int negative = 0;
  for (int k = 0; k < 4; ++k) {
    const Point prev = q[(k + 3) % 4];
    const Point next = q[(k + 1) % 4];
    const double turn = cross(minus(q[k], prev), minus(next, q[k]));
    if (turn == 0.0 || !std::isfinite(turn)) return QuadShape::degenerate;
    (turn > 0.0 ? positive : negative) += 1;
  }
  if (positive == 4) return QuadShape::positive;
  if (negative == 4) return QuadShape::negative;
  return QuadShape::notConvex;
}

Quad cornersOf(const PixelRect& r) {
  return {Point{double(r.x0), double(r.y0)}, Point{double(r.x1), double(r.y0)}, Point{double(r.x1), double(r.y1)},
          Point{double(r.x0), double(r.y1)}};
}

double edgeXAtRow(Point a, Point b, double y) {
  if (b.y < a.y || (b.y == a.y && b.x < a.x)) std::swap(a, b);
  if (y == a.y) return a.x;
  if (y == b.y) return b.x;
  return a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
}

double edgeYAtColumn(Point a, Point b, double x) {
  if (b.x < a.x || (b.x == a.x && b.y < a.y)) std::swap(a, b);
  if (x == a.x) return a.y;
  if (x == b.x) return b.y;
  return a.y + (x - a.x) * (b.y - a.y) / (b.x - a.x);
}

IppStatus SpanList::allocate(int firstRow, int lastRow) {
  const long long rows = static_cast<long long>(lastRow) - firstRow + 1;
  if (2 * rows > INT32_MAX) return ippStsMemAllocErr;
  columns_ = ippsMalloc_32s(static_cast<int>(2 * rows));
  if (columns_ == nullptr) return ippStsMemAllocErr;
  firstRow_ = firstRow;
  rowCount_ = static_cast<int>(rows);
  return ippStsNoErr;
}

IppStatus SpanList::rasterise(const Quad& q, const PixelRect& dstRect) {
  double minY = q[0].y, maxY = q[0].y;
  for (const Point& p : q) {
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  const double top = std::max(std::ceil(minY), double(dstRect.y0));
  const double bottom = std::min(std::floor(maxY), double(dstRect.y1));
  if (top > bottom) return ippStsWrongIntersectQuad;
  if (const IppStatus status = allocate(static_cast<int>(top), static_cast<int>(bottom))) return status;
  bool anyPixel = false;
  for (int y = firstRow_; y < firstRow_ + rowCount_; ++y) {
    double left = 0, right = 0;
    Ipp32s* span = columns_ + 2 * (y - firstRow_);
    span[0] = 1;
    span[1] = 0;
    if (!rowInterval(q, y, &left, &right)) continue;
    const double first = std::max(std::ceil(left), double(dstRect.x0));
    const double last = std::min(std::floor(right), double(dstRect.x1));
    if (first > last) continue;
    span[0] = static_cast<Ipp32s>(first);
    span[1] = static_cast<Ipp32s>(last);
    anyPixel = true;
  }
  return anyPixel ? ippStsNoErr : ippStsWrongIntersectQuad;
}

IppStatus SpanList::whole(const PixelRect& dstRect) {
  if (const IppStatus status = allocate(dstRect.y0, dstRect.y1)) return status;
  for (int i = 0; i < rowCount_; ++i) {
    columns_[2 * i] = dstRect.x0;
    columns_[2 * i + 1] = dstRect.x1;
  }
  return ippStsNoErr;
}

long long SpanList::widest() const {
  long long widest = 0;
  for (int i = 0; i < rowCount_; ++i)
    widest = std::max(widest, static_cast<long long>(columns_[2 * i + 1]) - columns_[2 * i] + 1);
  return widest;
}

}  // namespace fc::primitives::warp
