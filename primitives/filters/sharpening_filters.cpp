// sharpening_filters.cpp - Laplace, high-pass and sharpen filters of
// three-channel images: the centre byte weighed against its neighbourhood.
#include "dispatch/primitives.h"
#include "primitives/filters/fixed_kernel_engine.h"

namespace {

using fc::primitives::BoxSum3x3;
using fc::primitives::BoxSum5x5;
using fc::primitives::saturateToByte;

// -1 everywhere, 8 at the centre.
struct HighPass3x3 : BoxSum3x3 {
  static Ipp8u finish(int sum, int centre) { return saturateToByte(9 * centre - sum); }
};

// -1 everywhere, 24 at the centre.
struct HighPass5x5 : BoxSum5x5 {
  static Ipp8u finish(int sum, int centre) { return saturateToByte(25 * centre - sum); }
};

// -1 everywhere, 16 at the centre, divided by 8 to the nearest integer with
// ties to even: adding 3 plus the quotient's lowest bit before the shift
// rounds a remainder of exactly 4 up only when the quotient is odd.
struct Sharpen : BoxSum3x3 {
  static Ipp8u finish(int sum, int centre) {
    const int v = 17 * centre - sum;
    if (v <= 0) return 0;
    const int quotient = (v + 3 + ((v >> 3) & 1)) >> 3;
    return static_cast<Ipp8u>(quotient < 255 ? quotient : 255);
  }
};

// 5x5 Laplace kernel, weight 0.
struct Laplace5x5 : fc::primitives::SymmetricRows5x5 {
  static constexpr int kTaps[3][5] = {{-1, -3, -4, -3, -1}, {-3, 0, 6, 0, -3}, {-4, 6, 20, 6, -4}};
  static Ipp8u finish(int v, int) { return saturateToByte(v); }
};

}  // namespace

extern "C" FC_API IppStatus px_ippiFilterSharpen_8u_C3R FC_TWO_IMAGE_PARAMS() {
  return fc::primitives::filterWithKernel<Sharpen> FC_TWO_IMAGE_ARGS();
}

extern "C" FC_API IppStatus px_ippiFilterLaplace_8u_C3R FC_TWO_IMAGE_PARAMS(int mask) {
  return fc::primitives::filterWithMaskCode<HighPass3x3, Laplace5x5> FC_TWO_IMAGE_ARGS(mask);
}

extern "C" FC_API IppStatus px_ippiFilterHipass_8u_C3R FC_TWO_IMAGE_PARAMS(int mask) {
  return fc::primitives::filterWithMaskCode<HighPass3x3, HighPass5x5> FC_TWO_IMAGE_ARGS(mask);
}
