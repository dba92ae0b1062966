// warp_kernels.h - the interpolation kernels of the warps: one destination
// pixel from the source image at a back-mapped position (sx, sy) in
// whole-image coordinates, all channels alike.
//
//   nearest  the pixel (sx + 0.5, sy + 0.5), truncated.
//   linear   the 2x2 cell at (sx + 1e-7, sy + 1e-7) truncated, the cell held
//            inside the image at its last column and row (fraction 1.0 there);
//            interpolated along x, then along y, plus 0.5, truncated.
//   cubic    Catmull-Rom interpolation of the 4x4 neighbourhood whose top-left
//            is one pixel up and left of the truncated position; taps beyond
//            the image repeat its edge pixels; the sum is rounded (plus 0.5,
//            floor) and limited to 0..255.
//
// Indices are always held inside the image, so a position a little outside
// it through rounding never reads outside the source.
#pragma once

#include "primitives/geometry/warp_types.h"

namespace fc::primitives::warp {

/// Interpolates `count` pixels into dstRow from the (x, y) pairs at
/// `positions`. With `accept` given, a pixel is written only when its
/// position lies inside that rectangle (bounds included) and is otherwise left
/// as it is. Returns the number of pixels written.
long long interpolateRow(const SourceImage& src, Kernel kernel, const double* positions, int count, Ipp8u* dstRow,
                         const PixelRect* accept);

/// The (x, y) pairs of `count` pixels of row y from column `first` on through
/// the projective map m: x' = (m00 x + m01 y + m02) / w,
/// y' = (m10 x + m11 y + m12) / w, w = m20 x + m21 y + m22, each sum taken
/// left to right.
void projectRow(const double (*m)[3], int y, int first, int count, double* xy);

/// The routines a code variant supplies to the warp engines; every variant's
/// give the generic ones' results bit for bit.
struct WarpKernels {
  using InterpolateRow = decltype(&warp::interpolateRow);
  using ProjectRow = decltype(&warp::projectRow);
  InterpolateRow interpolateRow;
  ProjectRow projectRow;
};

/// The generic routines above.
extern const WarpKernels kGenericWarpKernels;

}  // namespace fc::primitives::warp
