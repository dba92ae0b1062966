// warp_coefficients.cpp - the coefficients that send the corners of a source
// rectangle (the centres of its corner pixels) onto four given points, for
// the perspective and the bilinear warps. The coefficients are written only
// on success.
#include "dispatch/primitives.h"
#include "primitives/geometry/quad_spans.h"

namespace fc::primitives::warp {
namespace {

/// Null arrays, an empty or misplaced rectangle, a quadrangle that is not
/// convex, then a rectangle narrower or lower than 2 pixels, in that order.
IppStatus checkGetterArgs(const TFCImageRect& r, const double quad[4][2], const void* coeffs, Quad* points) {
  if (quad == nullptr || coeffs == nullptr) return ippStsNullPtrErr;
  if (r.x < 0 || r.y < 0 || r.width < 1 || r.height < 1) return ippStsSizeErr;
  for (int k = 0; k < 4; ++k) (*points)[k] = {quad[k][0], quad[k][1]};
  if (!isConvex(checkQuad(*points))) return ippStsQuadErr;
  if (r.width - 1 < 1 || r.height - 1 < 1) return ippStsRectErr;
  return ippStsNoErr;
}

}  // namespace
}  // namespace fc::primitives::warp

/// The unit-square-to-quadrangle projective map, scaled and moved onto the
/// rectangle.
extern "C" FC_API IppStatus px_ippiGetPerspectiveTransform(TFCImageRect srcRoi, const double quad[4][2],
                                                           double coeffs[3][3]) {
  fc::primitives::warp::Quad p;
  if (const IppStatus status = fc::primitives::warp::checkGetterArgs(srcRoi, quad, coeffs, &p)) return status;
  const double X0 = srcRoi.x, Y0 = srcRoi.y;
  const double W = srcRoi.width - 1.0, H = srcRoi.height - 1.0;
  const double x0 = p[0].x, x1 = p[1].x, x2 = p[2].x, x3 = p[3].x;
  const double y0 = p[0].y, y1 = p[1].y, y2 = p[2].y, y3 = p[3].y;
  const double sx = x0 - x1 + x2 - x3, sy = y0 - y1 + y2 - y3;
  const double den = (x3 - x2) * (y2 - y1) - (x2 - x1) * (y3 - y2);
  const double g = (sx * (y3 - y2) - (x3 - x2) * sy) / den;
  const double h = (sx * (y2 - y1) - sy * (x2 - x1)) / den;
  const double c00 = (x1 - x0 + g * x1) / W, c01 = (x3 - x0 + h * x3) / H;
  const double c10 = (y1 - y0 + g * y1) / W, c11 = (y3 - y0 + h * y3) / H;
  const double c20 = g / W, c21 = h / H;
  coeffs[0][0] = c00, coeffs[0][1] = c01, coeffs[0][2] = x0 - X0 * c00 - Y0 * c01;
  coeffs[1][0] = c10, coeffs[1][1] = c11, coeffs[1][2] = y0 - X0 * c10 - Y0 * c11;
  coeffs[2][0] = c20, coeffs[2][1] = c21, coeffs[2][2] = 1.0 - X0 * c20 - Y0 * c21;
  return ippStsNoErr;
}

/// The bilinear interpolation of the four points across the rectangle,
/// written as x' = c0 x y + c1 x + c2 y + c3 (and y' alike).
extern "C" FC_API IppStatus px_ippiGetBilinearTransform(TFCImageRect srcRoi, const double quad[4][2],
                                                        double coeffs[2][4]) {
  fc::primitives::warp::Quad p;
  if (const IppStatus status = fc::primitives::warp::checkGetterArgs(srcRoi, quad, coeffs, &p)) return status;
  const double X0 = srcRoi.x, Y0 = srcRoi.y;
  const double X1 = X0 + srcRoi.width - 1.0, Y1 = Y0 + srcRoi.height - 1.0;
  const double k = 1.0 / ((X1 - X0) * (Y1 - Y0));
  for (int axis = 0; axis < 2; ++axis) {
    const double v0 = quad[0][axis], v1 = quad[1][axis], v2 = quad[2][axis], v3 = quad[3][axis];
    double* c = coeffs[axis];
    c[0] = (v0 - v1 + v2 - v3) * k;
    c[1] = ((v1 - v0) * Y1 + (v3 - v2) * Y0) * k;
    c[2] = (-(v0 - v3) * X1 - (v2 - v1) * X0) * k;
    c[3] = v0 - c[1] * X0 - c[2] * Y0 - c[0] * X0 * Y0;
  }
  return ippStsNoErr;
}
