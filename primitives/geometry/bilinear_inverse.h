// bilinear_inverse.h - solving a bilinear map for the source position.
//
// A bilinear map on a rectangle is fixed by the images P0..P3 of its corners:
// with u, v the position across the rectangle (0..1), the image is
//   P0 + u e + v f + u v g,  e = P1 - P0, f = P3 - P0, g = P0 - P1 + P2 - P3.
// Solving for (u, v) eliminates u and leaves a quadratic in v, solved in the
// cancellation-free form; of its roots the one whose (u, v) lies in or
// nearest to the unit square is taken.
#pragma once

#include "primitives/geometry/warp_types.h"

namespace fc::primitives::warp {

class BilinearInverse {
 public:
  /// `domain` is the rectangle the map is defined on, `images` its corners' images.
  BilinearInverse(const PixelRect& domain, const Quad& images);

  /// The point of the domain that maps to p; held inside the domain when
  /// `holdInside` is set (for points inside the quadrangle that only
  /// corrects rounding).
  Point solve(Point p, bool holdInside) const;

 private:
  Point p0_, e_, f_, g_;
  double k2_, crossEF_;
  double x0_, y0_, width_, height_;
};

}  // namespace fc::primitives::warp
