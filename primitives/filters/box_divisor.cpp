// box_divisor.cpp - multiplier and shift for dividing by a mask's pixel count.
#include "primitives/filters/box_divisor.h"

#include <cmath>

namespace fc::primitives::box {

ReciprocalShift reciprocalShift(float reciprocal) {
  constexpr int kShift = 23;
  // Rounding up keeps m / 2^k >= 1/n: the float reciprocal errs by at most
  // 2^-24 relative, less than the distance of 2^23/n from the next integer
  // whenever 2^23/n is not itself an integer (and then the reciprocal is exact).
  const double scaled = static_cast<double>(reciprocal) * static_cast<double>(1 << kShift);
  return {static_cast<int>(std::ceil(scaled)), kShift};
}

}  // namespace fc::primitives::box
