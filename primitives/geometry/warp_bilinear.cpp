// warp_bilinear.cpp - bilinear warps, with forward coefficients (source to
// destination) and with backward ones (destination to source).
//
// The forward warp writes the pixels whose centres lie in the transformed
// rectangle (whose edges a bilinear map keeps straight), each at the source
// position that maps onto it. The backward warp visits the whole destination
// rectangle and writes the pixels whose back-mapped position lies in the
// clipped source rectangle, bounds included.
#include "dispatch/primitives.h"
#include "primitives/geometry/bilinear_inverse.h"
#include "primitives/geometry/edge_smoothing.h"
#include "primitives/geometry/quad_spans.h"
#include "primitives/geometry/warp_checks.h"
#include "primitives/geometry/warp_engines.h"
#include "primitives/geometry/warp_render.h"

namespace fc::primitives::warp {
namespace {

/// x' = m00 x y + m01 x + m02 y + m03, y' = m10 x y + m11 x + m12 y + m13.
struct BilinearMap {
  const double (*m)[4];

  Point apply(Point p) const {
    return {m[0][0] * p.x * p.y + m[0][1] * p.x + m[0][2] * p.y + m[0][3],
            m[1][0] * p.x * p.y + m[1][1] * p.x + m[1][2] * p.y + m[1][3]};
  }
};

Quad mapCorners(const BilinearMap& map, const PixelRect& rect) {
  Quad quad = cornersOf(rect);
  for (Point& p : quad) p = map.apply(p);
  return quad;
}

IppStatus setUpBilinear(const GeometricArgs& args, int channels, const double c[2][4], int interpolation,
                        WarpSetup* setup) {
  if (const IppStatus status = checkImages(args, interpolation)) return status;
  if (c == nullptr) return ippStsNullPtrErr;
  if (!linearPartRegular(c[0][1], c[1][2], c[0][2], c[1][1])) return ippStsCoeffErr;
  return setUpWarp(args, channels, interpolation, setup);
}

}  // namespace

IppStatus warpBilinear(const GeometricArgs& args, int channels, const double c[2][4], int interpolation) {
  WarpSetup setup;
  if (const IppStatus status = setUpBilinear(args, channels, c, interpolation, &setup)) return status;
  const Quad quad = mapCorners(BilinearMap{c}, setup.srcRect);
  const QuadShape shape = checkQuad(quad);
  if (!isConvex(shape)) return ippStsCoeffErr;
  const BilinearInverse inverse(setup.srcRect, quad);
  SpanList spans;
  if (const IppStatus status = spans.rasterise(quad, setup.dstRect)) return status;
  auto positionsOf = eachPiece([&](int y, int first, int count, double* xy) {
    for (int i = 0; i < count; ++i) {
      const Point s = inverse.solve({double(first + i), double(y)}, true);
      xy[2 * i] = s.x;
      xy[2 * i + 1] = s.y;
    }
  });
  long long written = 0;
  if (const IppStatus status = renderSpans(setup, spans, positionsOf, nullptr, &written)) return status;
  if (setup.smoothEdge) smoothBorder(quad, shape, setup.dst, setup.dstRect);
  return ippStsNoErr;
}

IppStatus warpBilinearBack(const GeometricArgs& args, int channels, const double c[2][4], int interpolation) {
  WarpSetup setup;
  if (const IppStatus status = setUpBilinear(args, channels, c, interpolation, &setup)) return status;
  const BilinearMap backward{c};
  const Quad sourceQuad = mapCorners(backward, setup.dstRect);
  if (checkQuad(sourceQuad) == QuadShape::degenerate) return ippStsCoeffErr;
  SpanList spans;
  if (const IppStatus status = spans.whole(setup.dstRect)) return status;
  auto positionsOf = eachPiece([&](int y, int first, int count, double* xy) {
    for (int i = 0; i < count; ++i) {
      const Point s = backward.apply({double(first + i), double(y)});
      xy[2 * i] = s.x;
      xy[2 * i + 1] = s.y;
    }
  });
  long long written = 0;
  if (const IppStatus status = renderSpans(setup, spans, positionsOf, &setup.srcRect, &written)) return status;
  if (written == 0) return ippStsWrongIntersectQuad;
  if (setup.smoothEdge && isConvex(checkQuad(sourceQuad))) {
    // The border is smoothed along the quadrangle through the destination
    // points of the source rectangle's corners.
    const BilinearInverse toDestination(setup.dstRect, sourceQuad);
    Quad quad = cornersOf(setup.srcRect);
    for (Point& p : quad) p = toDestination.solve(p, false);
    const QuadShape shape = checkQuad(quad);
    if (isConvex(shape)) smoothBorder(quad, shape, setup.dst, setup.dstRect);
  }
  return ippStsNoErr;
}

}  // namespace fc::primitives::warp

