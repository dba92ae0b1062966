// rotate_shear.cpp - the rotation and shear entry points and the rotation
// shift helper. Rotation by an exact right angle with whole shifts moves
// pixels; every other rotation and every shear runs the affine engine.
#include <cmath>

#include "dispatch/primitives.h"
#include "primitives/geometry/affine_engine.h"
#include "primitives/geometry/right_angle_rotation.h"
#include "primitives/geometry/warp_engines.h"

namespace fc::primitives::warp {
namespace {

constexpr double kPi = 3.14159265358979323846;

/// The angle brought into 0 <= a < 360.
double reducedAngle(double angle) {
  double a = angle - 360.0 * std::trunc(angle / 360.0);
  if (a < 0.0) a += 360.0;
  return a;
}

bool isRightAngle(double a) { return a == 90.0 || a == 180.0 || a == 270.0; }
bool isWhole(double v) { return std::floor(v) == v; }

/// Cosine and sine of a reduced angle, exact at the right angles.
void cosSin(double a, double* c, double* s) {
  if (a == 90.0) {
    *c = 0.0, *s = 1.0;
  } else if (a == 180.0) {
    *c = -1.0, *s = 0.0;
  } else if (a == 270.0) {
    *c = 0.0, *s = -1.0;
  } else {
    const double r = a * kPi / 180.0;
    *c = std::cos(r), *s = std::sin(r);
  }
}

}  // namespace

IppStatus rotate(const GeometricArgs& args, int channels, double angle, double xShift, double yShift,
                 int interpolation) {
  const double a = reducedAngle(angle);
  if (isRightAngle(a) && isWhole(xShift) && isWhole(yShift))
    return rotateRightAngle(args, channels, static_cast<int>(a + 0.1), xShift, yShift);
  double c = 0, s = 0;
  cosSin(a, &c, &s);
  return warpAffine(args, channels, AffineMap{c, s, xShift, -s, c, yShift}, interpolation);
}

IppStatus shear(const GeometricArgs& args, int channels, double xShear, double yShear, double xShift,
                double yShift, int interpolation) {
  return warpAffine(args, channels, AffineMap{1.0, xShear, xShift, yShear, 1.0, yShift}, interpolation);
}

}  // namespace fc::primitives::warp


/// Shifts that make the rotation by `angle` turn about (xCenter, yCenter).
extern "C" FC_API IppStatus px_ippiGetRotateShift(double xCenter, double yCenter, double angle, double* xShift,
                                                  double* yShift) {
  using namespace fc::primitives::warp;
  if (xShift == nullptr || yShift == nullptr) return ippStsNullPtrErr;
  const double a = reducedAngle(angle);
  if (a == 0.0) {
    *xShift = 0.0, *yShift = 0.0;
  } else if (a == 90.0) {
    *xShift = xCenter - yCenter, *yShift = xCenter + yCenter;
  } else if (a == 180.0) {
    *xShift = 2.0 * xCenter, *yShift = 2.0 * yCenter;
  } else if (a == 270.0) {
    *xShift = xCenter + yCenter, *yShift = yCenter - xCenter;
  } else {
    const double r = a * kPi / 180.0;
    *xShift = xCenter - xCenter * std::cos(r) - yCenter * std::sin(r);
    *yShift = yCenter - yCenter * std::cos(r) + xCenter * std::sin(r);
  }
  return ippStsNoErr;
}
