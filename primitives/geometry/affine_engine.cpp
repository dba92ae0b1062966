// affine_engine.cpp - clipping, back-mapping and interpolation of affine warps.
#include "primitives/geometry/affine_engine.h"

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
  // Along a row the source position advances by a constant step per column.
  auto positionsOf = [&](int y, int first, int count, double* xy) {
    double sx = inverse.c00 * first + inverse.c01 * y + inverse.c02;
    double sy = inverse.c10 * first + inverse.c11 * y + inverse.c12;
    for (int i = 0; i < count; ++i, sx += inverse.c00, sy += inverse.c10) {
      xy[2 * i] = sx;
      xy[2 * i + 1] = sy;
    }
  };
  long long written = 0;
  if (const IppStatus status = renderSpans(setup, spans, positionsOf, nullptr, &written)) return status;
  if (setup.smoothEdge) smoothBorder(quad, shape, setup.dst, setup.dstRect);
  return ippStsNoErr;
}

}  // namespace fc::primitives::warp
