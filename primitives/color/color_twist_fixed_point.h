// color_twist_fixed_point.h - a colour-twist matrix row as 32-bit integer
// coefficients, with the margin that makes an integer sum decide the byte
// the extended-precision sum gives. Internal to the library.
#pragma once

#include <cstdint>

#include "dispatch/Fcimagedefs.h"

namespace fc::primitives {

/// Row c of the matrix as Q = q0 s0 + q1 s1 + q2 s2 + q3, the coefficients
/// t_k scaled by 2^shift and rounded to integers, so that Q 2^-shift is the
/// row's sum d within a known distance.
///
/// Let rho_k = t_k - q_k 2^-shift (exact in double). For source bytes up to
/// 255 the integer sum lies within E = 255 (|rho0| + |rho1| + |rho2|) + |rho3|
/// of the exact sum, and the extended-precision sum, whose products are exact
/// and whose three additions each round by at most 2^-64 of the row's reach
/// R = 255 (|t0| + |t1| + |t2|) + |t3|, within 2^-60 R of it. `margin` is an
/// integer above (E + 2^-60 R) 2^shift, so |d - Q 2^-shift| < margin 2^-shift.
///
/// With Q' = Q + 2^(shift-1) + margin, n = floor(Q' 2^-shift) and the
/// fraction r = Q' - n 2^shift: when r >= 2 margin, d + 1/2 lies strictly
/// between n and n + 1, so d is no tie and rounds to n, and saturating n to
/// 0..255 gives the stored byte (saturation agrees with rounding). Other
/// lanes must be decided another way; they are rare, as 2 margin 2^-shift is
/// a few 2^-20 for ordinary matrices.
///
/// When every rho_k is zero (coefficients on the grid 2^-shift, such as 0.5
/// or integers) the integer sum is the exact sum, and so is the extended one:
/// `exact` is set, margin is 0, and ties are rounded to even in integers.
///
/// shift is the largest value up to 30 that keeps every Q' inside the signed
/// 32-bit range for bytes 0..255; `usable` is false for rows with infinite or
/// NaN coefficients and for rows whose reach leaves fewer than 12 fraction
/// bits or a margin of 1/8 or more.
struct TwistFixedRow {
  bool usable = false;
  bool exact = false;
  int shift = 0;
  std::int32_t q[4] = {0, 0, 0, 0};
  std::int32_t margin = 0;
  /// The largest |Q| for bytes 0..255.
  std::int64_t reach = 0;
};

/// Plans one matrix row at the largest scale up to `widestShift`.
TwistFixedRow planFixedRow(const Ipp32f row[4], int widestShift = 30);

/// Puts the rows of a matrix on one scale, the smallest of theirs, and gives
/// the inexact rows one margin, the largest (a larger margin than a row needs
/// only decides less), so that the channels share their constants and one
/// comparison decides all three. A row that would then leave the 32-bit
/// range is planned again at a smaller scale. Rows stay unusable when one is.
void shareScaleAndMargin(const Ipp32f twist[3][4], TwistFixedRow* plans[3]);

}  // namespace fc::primitives
