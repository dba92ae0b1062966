// warp_perspective.cpp - perspective warps, with forward coefficients (source
// to destination) and with backward ones (destination to source).
//
// A destination pixel is written only when its back-mapped position lies in
// the clipped source rectangle, bounds included. The forward warp visits the
// pixels whose centres lie in the transformed rectangle; the backward warp
// visits the whole destination rectangle, so its result follows that rule
// also when the backward map sends the destination rectangle onto a
// quadrangle that is not convex.
#include <cmath>

#include "dispatch/primitives.h"
#include "primitives/geometry/edge_smoothing.h"
#include "primitives/geometry/quad_spans.h"
#include "primitives/geometry/warp_checks.h"
#include "primitives/geometry/warp_engines.h"
#include "primitives/geometry/warp_render.h"

namespace fc::primitives::warp {
namespace {

/// x' = (m00 x + m01 y + m02) / w, y' = (m10 x + m11 y + m12) / w,
/// w = m20 x + m21 y + m22.
struct ProjectiveMap {
  double m[3][3];

  double weight(Point p) const { return m[2][0] * p.x + m[2][1] * p.y + m[2][2]; }
  Point apply(Point p) const {
    const double w = weight(p);
    return {(m[0][0] * p.x + m[0][1] * p.y + m[0][2]) / w, (m[1][0] * p.x + m[1][1] * p.y + m[1][2]) / w};
  }
};

ProjectiveMap mapOf(const double c[3][3]) {
  ProjectiveMap map;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) map.m[i][j] = c[i][j];
  return map;
}

/// The matrix of cofactors, transposed: the inverse as a homogeneous map,
/// without the division by the determinant.
ProjectiveMap adjugate(const ProjectiveMap& c) {
  const auto& m = c.m;
  return {{{m[1][1] * m[2][2] - m[1][2] * m[2][1], m[0][2] * m[2][1] - m[0][1] * m[2][2],
            m[0][1] * m[1][2] - m[0][2] * m[1][1]},
           {m[1][2] * m[2][0] - m[1][0] * m[2][2], m[0][0] * m[2][2] - m[0][2] * m[2][0],
            m[0][2] * m[1][0] - m[0][0] * m[1][2]},
           {m[1][0] * m[2][1] - m[1][1] * m[2][0], m[0][1] * m[2][0] - m[0][0] * m[2][1],
            m[0][0] * m[1][1] - m[0][1] * m[1][0]}}};
}

/// The rectangle's corners through `map`; false when the map's denominator
/// vanishes or changes sign over the rectangle (its image is then no bounded
/// quadrangle).
bool mapRectangle(const ProjectiveMap& map, const PixelRect& rect, Quad* quad) {
  *quad = cornersOf(rect);
  int positive = 0;
  for (Point& p : *quad) {
    const double w = map.weight(p);
    if (!(w != 0.0) || !std::isfinite(w)) return false;
    positive += w > 0.0 ? 1 : 0;
    p = map.apply(p);
  }
  return positive == 0 || positive == 4;
}

/// The checks both perspective warps make before their own.
IppStatus setUpPerspective(const GeometricArgs& args, int channels, const double c[3][3], int interpolation,
                           WarpSetup* setup) {
  if (const IppStatus status = checkImages(args, interpolation)) return status;
  if (c == nullptr) return ippStsNullPtrErr;
  if (!linearPartRegular(c[0][0], c[1][1], c[0][1], c[1][0])) return ippStsCoeffErr;
  if (!(std::fabs(c[2][2]) > 1e-200) || !std::isfinite(c[2][2])) return ippStsCoeffErr;
  return setUpWarp(args, channels, interpolation, setup);
}

}  // namespace

IppStatus warpPerspective(const GeometricArgs& args, int channels, const double c[3][3], int interpolation) {
  WarpSetup setup;
  if (const IppStatus status = setUpPerspective(args, channels, c, interpolation, &setup)) return status;
  const ProjectiveMap forward = mapOf(c);
  Quad quad;
  if (!mapRectangle(forward, setup.srcRect, &quad)) return ippStsCoeffErr;
  const QuadShape shape = checkQuad(quad);
  if (!isConvex(shape)) return ippStsCoeffErr;
  const ProjectiveMap backward = adjugate(forward);
  SpanList spans;
  if (const IppStatus status = spans.rasterise(quad, setup.dstRect)) return status;
  auto positionsOf = eachPiece([&](int y, int first, int count, double* xy) {
    setup.kernels->projectRow(backward.m, y, first, count, xy);
  });
  long long written = 0;
  if (const IppStatus status = renderSpans(setup, spans, positionsOf, &setup.srcRect, &written)) return status;
  if (setup.smoothEdge) smoothBorder(quad, shape, setup.dst, setup.dstRect);
  return ippStsNoErr;
}

IppStatus warpPerspectiveBack(const GeometricArgs& args, int channels, const double c[3][3], int interpolation) {
  WarpSetup setup;
  if (const IppStatus status = setUpPerspective(args, channels, c, interpolation, &setup)) return status;
  const ProjectiveMap backward = mapOf(c);
  SpanList spans;
  if (const IppStatus status = spans.whole(setup.dstRect)) return status;
  auto positionsOf = eachPiece([&](int y, int first, int count, double* xy) {
    setup.kernels->projectRow(backward.m, y, first, count, xy);
  });
  long long written = 0;
  if (const IppStatus status = renderSpans(setup, spans, positionsOf, &setup.srcRect, &written)) return status;
  if (written == 0) return ippStsWrongIntersectQuad;
  // The border is smoothed where the written area is a convex quadrangle:
  // the source rectangle's image under the inverse map.
  Quad quad;
  if (setup.smoothEdge && mapRectangle(adjugate(backward), setup.srcRect, &quad)) {
    const QuadShape shape = checkQuad(quad);
    if (isConvex(shape)) smoothBorder(quad, shape, setup.dst, setup.dstRect);
  }
  return ippStsNoErr;
}

}  // namespace fc::primitives::warp

