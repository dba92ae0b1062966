// affine_engine.h - the affine warp behind rotation and shear.
#pragma once

#include "primitives/geometry/warp_types.h"

namespace fc::primitives::warp {

/// x' = c00 x + c01 y + c02, y' = c10 x + c11 y + c12.
struct AffineMap {
  double c00, c01, c02, c10, c11, c12;

  Point apply(Point p) const { return {c00 * p.x + c01 * p.y + c02, c10 * p.x + c11 * p.y + c12}; }
};

/// Warps the source rectangle into the destination rectangle through `map`
/// (source to destination), `channels` 1 or 3. Checks, in this order: images
/// (see checkImages), a singular linear part (ippStsCoeffErr), the source
/// rectangle (see setUpWarp), a transformed rectangle that is not a convex
/// quadrangle (ippStsCoeffErr), one that misses the destination rectangle
/// (ippStsWrongIntersectQuad). Then every destination pixel whose centre lies
/// in the transformed rectangle is interpolated at its back-mapped position,
/// and with IPPI_SMOOTH_EDGE the border is smoothed.
IppStatus warpAffine(const GeometricArgs& args, int channels, const AffineMap& map, int interpolation);

}  // namespace fc::primitives::warp
