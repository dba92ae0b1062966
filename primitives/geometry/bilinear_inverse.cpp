// bilinear_inverse.cpp - the inverse of a bilinear map, point by point.
#include "primitives/geometry/bilinear_inverse.h"

#include <algorithm>
#include <cmath>

namespace fc::primitives::warp {
namespace {

double cross(Point a, Point b) { return a.x * b.y - a.y * b.x; }

/// How far (u, v) lies outside the unit square (0 inside).
double outside(double u, double v) {
  return std::max({0.0, -u, u - 1.0}) + std::max({0.0, -v, v - 1.0});
}

}  // namespace

BilinearInverse::BilinearInverse(const PixelRect& domain, const Quad& q)
    : p0_(q[0]),
      e_{q[1].x - q[0].x, q[1].y - q[0].y},
      f_{q[3].x - q[0].x, q[3].y - q[0].y},
      g_{q[0].x - q[1].x + q[2].x - q[3].x, q[0].y - q[1].y + q[2].y - q[3].y},
      k2_(cross(g_, f_)),
      crossEF_(cross(e_, f_)),
      x0_(domain.x0),
      y0_(domain.y0),
      width_(domain.x1 - domain.x0),
      height_(domain.y1 - domain.y0) {}

Point BilinearInverse::solve(Point p, bool holdInside) const {
  const Point h{p.x - p0_.x, p.y - p0_.y};
  // (h - v f) = u (e + v g), crossed with (e + v g): k2 v^2 + k1 v + k0 = 0.
  const double k1 = crossEF_ + cross(h, g_);
  const double k0 = cross(h, e_);
  const double disc = std::max(0.0, k1 * k1 - 4.0 * k0 * k2_);
  const double q = -0.5 * (k1 + std::copysign(std::sqrt(disc), k1));
  double roots[2] = {q != 0.0 ? k0 / q : 0.0, 0.0};
  const int rootCount = (k2_ != 0.0 && q != 0.0) ? 2 : 1;
  if (rootCount == 2) roots[1] = q / k2_;

  double bestU = 0.0, bestV = 0.0, bestDistance = INFINITY;
  for (int r = 0; r < rootCount; ++r) {
    const double v = roots[r];
    const double dx = e_.x + g_.x * v;
    const double dy = e_.y + g_.y * v;
    double u = 0.0;
    if (std::fabs(dx) >= std::fabs(dy)) {
      if (dx != 0.0) u = (h.x - f_.x * v) / dx;
    } else {
      u = (h.y - f_.y * v) / dy;
    }
    const double distance = outside(u, v);
    if (distance < bestDistance) bestU = u, bestV = v, bestDistance = distance;
  }
  if (holdInside) {
    bestU = std::clamp(bestU, 0.0, 1.0);
    bestV = std::clamp(bestV, 0.0, 1.0);
  }
  return {x0_ + bestU * width_, y0_ + bestV * height_};
}

}  // namespace fc::primitives::warp
