// box_divisor.h - the integer multiplier and shift that divide a window sum by
// the window's pixel count in the box filter.
#pragma once

namespace fc::primitives::box {

/// Masks with more pixels than this average in single precision.
inline constexpr long long kLargestIntegerMask = 8100;

/// Multiplier and shift for the 3 x 3 mask: (S * 29128) >> 18.
inline constexpr int kMultiplier3x3 = 29128;
inline constexpr int kShift3x3 = 18;

/// Multiplier m and shift k with m / 2^k close to 1/n and never below it, so
/// a uniform window keeps its value. k is 23: for n up to
/// kLargestIntegerMask, 255 * n * m stays below 2^31.
struct ReciprocalShift {
  int multiplier;
  int shift;
};

/// Takes the single-precision reciprocal of the pixel count, 1/n.
ReciprocalShift reciprocalShift(float reciprocal);

}  // namespace fc::primitives::box
