// affine_engine.cpp - clipping, back-mapping and interpolation of affine warps.
#include "primitives/geometry/affine_engine.h"

#include <algorithm>

#include "primitives/geometry/edge_smoothing.h"
#include "primitives/geometry/quad_spans.h"
#include "primitives/geometry/warp_checks.h"
#include "primitives/geometry/warp_render.h"

namespace fc::primitives::warp {
namespace {

/// The map from the destination back to the source, derived from the source
/// rectangle and the images P0, P1, P2 of its top-left, top-right and
/// bottom-right corners (the algebraic inverse of the map they define).
AffineMap inverseFromCorners(const PixelRect& r, const Quad& q) {
  const double width = r.x1 - r.x0;
  const double height = r.y1 - r.y0;
  const double dx1 = q[1].x - q[0].x, dx2 = q[2].x - q[1].x;
  const double dy1 = q[1].y - q[0].y, dy2 = q[2].y - q[1].y;
  const double det = dx1 * dy2 - dx2 * dy1;
  AffineMap inverse{width * dy2 / det, -(width * dx2) / det, 0.0, -(height * dy1) / det, height * dx1 / det, 0.0};
  inverse.c02 = r.x0 - inverse.c00 * q[0].x - inverse.c01 * q[0].y;
  inverse.c12 = r.y0 - inverse.c10 * q[0].x - inverse.c11 * q[0].y;
  return inverse;
}

/// Writes the positions of each piece from its running position at[k],
/// adding (dx, dy) per pixel, and leaves at[k] after the piece's last pixel.
/// Four pieces advance side by side over their common length: each running
/// sum depends on the one before, so one row alone waits on every addition.
void stepPositions(const RowPiece* pieces, int n, double dx, double dy, Point* at) {
  int common = 0;
  if (n == kPiecesAtOnce) {
    common = pieces[0].count;
    for (int k = 1; k < n; ++k) common = std::min(common, pieces[k].count);
    double* xy[kPiecesAtOnce];
    for (int k = 0; k < n; ++k) xy[k] = pieces[k].xy;
    for (int i = 0; i < common; ++i) {
      for (int k = 0; k < kPiecesAtOnce; ++k) {
        xy[k][2 * i] = at[k].x;
        xy[k][2 * i + 1] = at[k].y;
        at[k].x += dx;
        at[k].y += dy;
      }
    }
  }
  for (int k = 0; k < n; ++k) {
    double* xy = pieces[k].xy;
    for (int i = common; i < pieces[k].count; ++i, at[k].x += dx, at[k].y += dy) {
      xy[2 * i] = at[k].x;
      xy[2 * i + 1] = at[k].y;
    }
  }
}

}  // namespace

IppStatus warpAffine(const GeometricArgs& args, int channels, const AffineMap& map, int interpolation) {
  if (const IppStatus status = checkImages(args, interpolation)) return status;
  if (!linearPartRegular(map.c00, map.c11, map.c01, map.c10)) return ippStsCoeffErr;
  WarpSetup setup;
  if (const IppStatus status = setUpWarp(args, channels, interpolation, &setup)) return status;
  Quad quad = cornersOf(setup.srcRect);
  for (Point& p : quad) p = map.apply(p);
  const QuadShape shape = checkQuad(quad);
  if (!isConvex(shape)) return ippStsCoeffErr;
  const AffineMap inverse = inverseFromCorners(setup.srcRect, quad);
  SpanList spans;
  if (const IppStatus status = spans.rasterise(quad, setup.dstRect)) return status;
  // Along a row the source position advances by a constant step per column,
  // added up from the row's first pixel. Rows are rendered in pieces, so
  // each row's running position is kept between them.
  WorkBuffer<double> running(2 * static_cast<std::int64_t>(spans.rowCount()));
  if (!running) return ippStsMemAllocErr;
  auto positionsOf = [&](const RowPiece* pieces, int n) {
    Point at[kPiecesAtOnce];
    for (int k = 0; k < n; ++k) {
      const RowPiece& piece = pieces[k];
      if (piece.first == spans.first(piece.y)) {
        at[k] = {inverse.c00 * piece.first + inverse.c01 * piece.y + inverse.c02,
                 inverse.c10 * piece.first + inverse.c11 * piece.y + inverse.c12};
      } else {
        const double* kept = running.get() + 2 * static_cast<std::ptrdiff_t>(piece.y - spans.firstRow());
        at[k] = {kept[0], kept[1]};
      }
    }
    stepPositions(pieces, n, inverse.c00, inverse.c10, at);
    for (int k = 0; k < n; ++k) {
      double* kept = running.get() + 2 * static_cast<std::ptrdiff_t>(pieces[k].y - spans.firstRow());
      kept[0] = at[k].x;
      kept[1] = at[k].y;
    }
  };
  long long written = 0;
  if (const IppStatus status = renderSpans(setup, spans, positionsOf, nullptr, &written)) return status;
  if (setup.smoothEdge) smoothBorder(quad, shape, setup.dst, setup.dstRect);
  return ippStsNoErr;
}

}  // namespace fc::primitives::warp
