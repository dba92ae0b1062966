// right_angle_rotation.cpp - pixel moves for rotations by 90, 180 and 270 degrees.
#include "primitives/geometry/right_angle_rotation.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace fc::primitives::warp {
namespace {

/// The destination-to-source map of a right-angle turn, in whole pixels:
/// x = ax x' + bx y' + cx, y = ay x' + by y' + cy.
struct PixelMove {
  int ax, bx, ay, by;
  std::int64_t cx, cy;
};

PixelMove moveFor(int degrees, std::int64_t sx, std::int64_t sy) {
  switch (degrees) {
    case 90: return {0, -1, 1, 0, sy, -sx};
    case 180: return {-1, 0, 0, -1, sx, sy};
    default: return {0, 1, -1, 0, -sy, sx};
  }
}

/// Where the source corner (x, y) lands.
Point target(int degrees, double x, double y, double sx, double sy) {
  switch (degrees) {
    case 90: return {y + sx, sy - x};
    case 180: return {sx - x, sy - y};
    default: return {sx - y, x + sy};
  }
}

bool argumentsSized(const GeometricArgs& a) {
  return a.srcSize.width >= 1 && a.srcSize.height >= 1 && a.srcRoi.x >= 0 && a.srcRoi.y >= 0 &&
         a.srcRoi.width >= 1 && a.srcRoi.height >= 1 && a.dstRoi.x >= 0 && a.dstRoi.y >= 0 &&
         a.dstRoi.width >= 1 && a.dstRoi.height >= 1;
}

}  // namespace

IppStatus rotateRightAngle(const GeometricArgs& args, int channels, int degrees, double xShift, double yShift) {
  if (args.src == nullptr || args.dst == nullptr) return ippStsNullPtrErr;
  if (!argumentsSized(args)) return ippStsSizeErr;
  if (args.srcStep < 1 || args.dstStep < 1) return ippStsStepErr;
  if (args.srcRoi.x >= args.srcSize.width || args.srcRoi.y >= args.srcSize.height) return ippStsWrongIntersectROI;
  const int x0 = args.srcRoi.x, y0 = args.srcRoi.y;
  const int x1 = x0 + std::min(args.srcRoi.width, args.srcSize.width - x0) - 1;
  const int y1 = y0 + std::min(args.srcRoi.height, args.srcSize.height - y0) - 1;

  // The target box, intersected with the destination rectangle in floating
  // point: the shifts may be far outside the int range.
  const Point a = target(degrees, x0, y0, xShift, yShift);
  const Point b = target(degrees, x1, y1, xShift, yShift);
  const double left = std::max(std::min(a.x, b.x), double(args.dstRoi.x));
  const double right = std::min({std::max(a.x, b.x), double(args.dstRoi.x) + args.dstRoi.width - 1, double(INT_MAX)});
  const double top = std::max(std::min(a.y, b.y), double(args.dstRoi.y));
  const double bottom = std::min({std::max(a.y, b.y), double(args.dstRoi.y) + args.dstRoi.height - 1, double(INT_MAX)});
  if (!(left <= right && top <= bottom)) return ippStsWrongIntersectROI;

  // A non-empty intersection bounds the shifts, so they fit 64 bits now.
  const PixelMove m = moveFor(degrees, static_cast<std::int64_t>(xShift), static_cast<std::int64_t>(yShift));
  const int firstX = static_cast<int>(left), lastX = static_cast<int>(right);
  const std::ptrdiff_t sourceStride = std::ptrdiff_t{m.ax} * channels + std::ptrdiff_t{m.ay} * args.srcStep;
  for (int y = static_cast<int>(top); y <= static_cast<int>(bottom); ++y) {
    const std::int64_t sx = m.ax * std::int64_t{firstX} + m.bx * std::int64_t{y} + m.cx;
    const std::int64_t sy = m.ay * std::int64_t{firstX} + m.by * std::int64_t{y} + m.cy;
    const Ipp8u* from = args.src + sy * args.srcStep + sx * channels;
    Ipp8u* to = args.dst + std::ptrdiff_t{y} * args.dstStep + std::ptrdiff_t{firstX} * channels;
    for (int x = firstX; x <= lastX; ++x, from += sourceStride, to += channels) std::memcpy(to, from, channels);
  }
  return ippStsNoErr;
}

}  // namespace fc::primitives::warp
