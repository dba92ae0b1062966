// warp_checks.h - the argument checks every warp engine makes, in the order
// the engines make them, and the set-up of a call that passed them.
#pragma once

#include "primitives/geometry/warp_types.h"

namespace fc::primitives::warp {

/// The interpolation argument without the edge-smoothing bit.
inline int kernelBits(int interpolation) { return interpolation & ~IPPI_SMOOTH_EDGE; }

/// Null images (ippStsNullPtrErr), empty or negative sizes and origins
/// (ippStsSizeErr), steps below 1 (ippStsStepErr) and an interpolation other
/// than nearest, linear or cubic (ippStsInterpolationErr), in that order.
IppStatus checkImages(const GeometricArgs& args, int interpolation);

/// The regularity test of a linear part: with d = a * b the diagonal product
/// and e = c * f the other one, q = (d - e) / d when |d| exceeds 1e-200, else
/// e; the map is usable only when |q| exceeds 1e-12.
bool linearPartRegular(double a, double b, double c, double f);

/// The remaining common steps: the kernel is reduced for small sources
/// (nearest on a source 1 pixel wide or high, linear instead of cubic below 4
/// pixels); a source rectangle whose origin lies outside the image gives
/// ippStsWrongIntersectROI, one clipped to fewer than 2 columns or rows
/// ippStsRectErr. On success fills `setup`.
IppStatus setUpWarp(const GeometricArgs& args, int channels, int interpolation, WarpSetup* setup);

}  // namespace fc::primitives::warp
