// color_twist.h - the colour twist's arithmetic, shared by the generic and
// the SIMD variants, which differ only in the routine that twists a run of
// pixels. Internal to the library.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "dispatch/primitives.h"
#include "primitives/color/color_twist_fixed_point.h"

namespace fc::primitives {

/// Output channel of one matrix row, accumulated in extended precision in the
/// fixed order (t0 * s0 + t3) + t1 * s1 + t2 * s2.
inline long double extendedSum(const Ipp32f row[4], const Ipp8u* pixel) {
  long double sum = static_cast<long double>(row[0]) * pixel[0] + row[3];
  sum += static_cast<long double>(row[1]) * pixel[1];
  sum += static_cast<long double>(row[2]) * pixel[2];
  return sum;
}

/// Saturates to 0..255 and rounds to nearest, ties to even: d + 0.5 is
/// truncated, and one is taken off when that gives an odd number from an
/// exact half. A NaN (from NaN coefficients) gives 0 rather than an undefined
/// conversion.
inline Ipp8u saturateRoundEven(long double d) {
  if (d >= 255.0L) return 255;
  if (!(d > 0.0L)) return 0;
  const long double shifted = d + 0.5L;
  int rounded = static_cast<int>(shifted);
  if ((rounded & 1) != 0 && shifted == static_cast<long double>(rounded)) --rounded;
  return static_cast<Ipp8u>(rounded);
}

/// saturateRoundEven for a sum that is exact in double (and so equal to the
/// extended one): inside 0..255, truncation is the floor and the fraction
/// left is exact, so a half is told from its neighbours without rounding.
inline Ipp8u saturateRoundEvenExact(double d) {
  if (d >= 255.0) return 255;
  if (!(d > 0.0)) return 0;
  const int whole = static_cast<int>(d);
  const double fraction = d - whole;
  const bool up = fraction > 0.5 || (fraction == 0.5 && (whole & 1) != 0);
  return static_cast<Ipp8u>(whole + (up ? 1 : 0));
}

/// Binary digits after the point that `c` needs: c times 2^bits is an
/// integer. 0 for zero and integers; -1 for infinities and NaN.
inline int fractionBits(float c) {
  if (!std::isfinite(c)) return -1;
  if (c == 0.0f) return 0;
  int exponent = 0;
  const float mantissa = std::frexp(std::fabs(c), &exponent);  // c = mantissa 2^exponent
  auto digits = static_cast<unsigned>(std::ldexp(mantissa, 24));  // a 24-bit integer
  int bits = 24 - exponent;
  while ((digits & 1u) == 0) {
    digits >>= 1;
    --bits;
  }
  return bits > 0 ? bits : 0;
}

/// The finest grid 2^-k that holds all four coefficients of a row: k, or -1
/// when one is not finite.
inline int commonGrid(const Ipp32f row[4]) {
  int grid = 0;
  for (int k = 0; k < 4; ++k) {
    const int bits = fractionBits(row[k]);
    if (bits < 0) return -1;
    grid = std::max(grid, bits);
  }
  return grid;
}

/// A matrix row with how far its double- and single-precision sums may lie
/// from the extended-precision one. M = (|t0| + |t1| + |t2|) 255 + |t3| is
/// the largest magnitude any product or partial sum of the row can reach.
///
/// Double: the products are exact (a float times a byte has at most 32
/// significant bits); each of the three additions rounds by at most 2^-53 of
/// M; 2^-50 M covers the rounding of both sums. Rows with a bound of 1/4 or
/// more (huge, infinite or NaN coefficients) are always summed in extended
/// precision. When the four coefficients lie on a common grid of 2^-k and
/// M 2^k stays below 2^53, every product and partial sum is a multiple of
/// 2^-k small enough to be exact: the double sum is the exact sum, as is the
/// extended one, and decides even ties.
///
/// Single: the same grid argument makes the single sum exact when M 2^k
/// stays below 2^23 (k at most 16, so the sum plus one half is exact too):
/// the usual case for coefficients such as 0.5 or 0.25, and for integers.
/// Otherwise each of the three products and three additions rounds by at
/// most 2^-24 of M, 4 2^-24 M in all, and adding one half to a sum below 256
/// by at most 2^-16; (2^-22 + 2^-30) M + 2^-15 covers them with a margin.
struct TwistRow {
  explicit TwistRow(const Ipp32f row[4]) : t(row), fixed(planFixedRow(row)) {
    const double reach = (std::fabs(t[0]) + std::fabs(t[1]) + std::fabs(t[2])) * 255.0 + std::fabs(t[3]);
    bound = reach * 0x1p-50 + 0x1p-40;
    doubleSumDecides = bound < 0.25;
    const int grid = commonGrid(row);
    doubleExact = grid >= 0 && grid <= 60 && reach * std::ldexp(1.0, grid) < 0x1p53;
    const bool floatExact = grid >= 0 && grid <= 16 && reach * std::ldexp(1.0, grid) < 0x1p23;
    const double inexact = reach * (0x1p-22 + 0x1p-30) + 0x1p-15;
    floatBound = floatExact ? 0.0f : static_cast<float>(inexact);
    floatSumDecides = floatExact || inexact < 0.25;
  }

  const Ipp32f* t;
  double bound;
  bool doubleSumDecides;
  /// The double sum is exact.
  bool doubleExact;
  /// 0 when the single sum is exact.
  float floatBound;
  bool floatSumDecides;
  /// The row in 32-bit fixed point.
  TwistFixedRow fixed;
};

/// One output channel. The result depends only on which side of each
/// half-integer the sum lies, and saturation agrees with rounding, so a
/// double sum farther than the bound from every half-integer gives the
/// extended-precision result; the rare sums near a half-integer are
/// recomputed in extended precision.
inline Ipp8u twistChannel(const TwistRow& row, const Ipp8u* pixel) {
  if (!row.doubleSumDecides) return saturateRoundEven(extendedSum(row.t, pixel));
  const double sum = (static_cast<double>(row.t[0]) * pixel[0] + row.t[3]) +
                     static_cast<double>(row.t[1]) * pixel[1] + static_cast<double>(row.t[2]) * pixel[2];
  if (sum >= 256.0) return 255;
  if (sum <= -1.0) return 0;
  const int nearest = static_cast<int>(sum + 1.5) - 1;  // the argument is positive: truncation is floor
  if (!(std::fabs(sum - nearest) < 0.5 - row.bound)) {
    return row.doubleExact ? saturateRoundEvenExact(sum) : saturateRoundEven(extendedSum(row.t, pixel));
  }
  return static_cast<Ipp8u>(nearest < 0 ? 0 : nearest > 255 ? 255 : nearest);
}

/// Twists `pixels` pixels; a destination that is the source is allowed.
using TwistPixels = void (*)(const TwistRow rows[3], const Ipp8u* src, Ipp8u* dst, std::size_t pixels);

/// Pixel by pixel, channel by channel: for matrices whose single sums
/// cannot decide.
void twistPixelsGeneric(const TwistRow rows[3], const Ipp8u* src, Ipp8u* dst, std::size_t pixels);

/// The colour twist's argument checks, then `twistPixels` on every row.
IppStatus colorTwist(TwistPixels twistPixels, const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep,
                     IppiSize roi, const Ipp32f twist[3][4]);

}  // namespace fc::primitives
