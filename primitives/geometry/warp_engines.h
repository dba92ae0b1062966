// warp_engines.h - the engines behind the rotation, shear, perspective and
// bilinear entry points, for the code variants that define those entries
// with kernels of their own, and the extra parameters of each entry.
#pragma once

#include "primitives/geometry/warp_types.h"

#define FC_ROTATE_PARAMS (double angle, double xShift, double yShift, int interpolation)
#define FC_ROTATE_ARGS (angle, xShift, yShift, interpolation)
#define FC_SHEAR_PARAMS (double xShear, double yShear, double xShift, double yShift, int interpolation)
#define FC_SHEAR_ARGS (xShear, yShear, xShift, yShift, interpolation)
#define FC_PERSPECTIVE_PARAMS (const double coeffs[3][3], int interpolation)
#define FC_BILINEAR_PARAMS (const double coeffs[2][4], int interpolation)
#define FC_COEFFS_ARGS (coeffs, interpolation)

/// X(name, channels, engine, params, args) for every entry point the warp
/// engines serve.
#define FC_FOR_EACH_WARP_ENTRY(X)                                                                               \
  X(ippiRotate_8u_C3R, 3, ::fc::primitives::warp::rotate, FC_ROTATE_PARAMS, FC_ROTATE_ARGS)                     \
  X(ippiRotate_8u_C1R, 1, ::fc::primitives::warp::rotate, FC_ROTATE_PARAMS, FC_ROTATE_ARGS)                     \
  X(ippiShear_8u_C3R, 3, ::fc::primitives::warp::shear, FC_SHEAR_PARAMS, FC_SHEAR_ARGS)                         \
  X(ippiShear_8u_C1R, 1, ::fc::primitives::warp::shear, FC_SHEAR_PARAMS, FC_SHEAR_ARGS)                         \
  X(ippiWarpPerspective_8u_C3R, 3, ::fc::primitives::warp::warpPerspective, FC_PERSPECTIVE_PARAMS, FC_COEFFS_ARGS) \
  X(ippiWarpPerspective_8u_C1R, 1, ::fc::primitives::warp::warpPerspective, FC_PERSPECTIVE_PARAMS, FC_COEFFS_ARGS) \
  X(ippiWarpPerspectiveBack_8u_C3R, 3, ::fc::primitives::warp::warpPerspectiveBack, FC_PERSPECTIVE_PARAMS,      \
    FC_COEFFS_ARGS)                                                                                             \
  X(ippiWarpPerspectiveBack_8u_C1R, 1, ::fc::primitives::warp::warpPerspectiveBack, FC_PERSPECTIVE_PARAMS,      \
    FC_COEFFS_ARGS)                                                                                             \
  X(ippiWarpBilinear_8u_C3R, 3, ::fc::primitives::warp::warpBilinear, FC_BILINEAR_PARAMS, FC_COEFFS_ARGS)       \
  X(ippiWarpBilinear_8u_C1R, 1, ::fc::primitives::warp::warpBilinear, FC_BILINEAR_PARAMS, FC_COEFFS_ARGS)       \
  X(ippiWarpBilinearBack_8u_C3R, 3, ::fc::primitives::warp::warpBilinearBack, FC_BILINEAR_PARAMS, FC_COEFFS_ARGS) \
  X(ippiWarpBilinearBack_8u_C1R, 1, ::fc::primitives::warp::warpBilinearBack, FC_BILINEAR_PARAMS, FC_COEFFS_ARGS)

namespace fc::primitives::warp {

/// A positive angle turns the picture counter-clockwise on the screen:
/// x' = cos x + sin y + xShift, y' = -sin x + cos y + yShift.
IppStatus rotate(const GeometricArgs& args, int channels, double angle, double xShift, double yShift,
                 int interpolation);
/// x' = x + xShear y + xShift, y' = yShear x + y + yShift.
IppStatus shear(const GeometricArgs& args, int channels, double xShear, double yShear, double xShift,
                double yShift, int interpolation);
/// Perspective warps with forward (source to destination) and backward
/// coefficients.
IppStatus warpPerspective(const GeometricArgs& args, int channels, const double c[3][3], int interpolation);
IppStatus warpPerspectiveBack(const GeometricArgs& args, int channels, const double c[3][3], int interpolation);
/// Bilinear warps with forward and backward coefficients.
IppStatus warpBilinear(const GeometricArgs& args, int channels, const double c[2][4], int interpolation);
IppStatus warpBilinearBack(const GeometricArgs& args, int channels, const double c[2][4], int interpolation);

}  // namespace fc::primitives::warp
