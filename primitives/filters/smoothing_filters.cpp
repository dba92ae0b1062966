// smoothing_filters.cpp - Gauss and low-pass filters of three-channel images.
// The divisions by the kernel's weight are fixed-point multiplications with
// rounding offsets chosen so that a uniform region keeps its value.
#include <cstdint>

#include "dispatch/primitives.h"
#include "primitives/filters/fixed_kernel_engine.h"

namespace {

// Mean of the 3x3 neighbourhood: (S + 5) * 455 / 2^12, about S / 9.
struct Lowpass3x3 : fc::primitives::BoxSum3x3 {
  static Ipp8u finish(int sum, int) { return static_cast<Ipp8u>(((sum + 5) * 455) >> 12); }
};

// Mean of the 5x5 neighbourhood: (S + 13) * 10485 / 2^18, about S / 25.
struct Lowpass5x5 : fc::primitives::BoxSum5x5 {
  static Ipp8u finish(int sum, int) { return static_cast<Ipp8u>(((sum + 13) * 10485) >> 18); }
};

// 1 2 1 by 1 2 1, divided by 16 to the nearest integer with ties to even:
// adding 7 plus the quotient's lowest bit rounds a remainder of exactly 8 up
// only when the quotient is odd.
struct Gauss3x3 {
  static constexpr int kRadius = 1;
  static constexpr int kKinds = 1;
  static constexpr int kTaps[1][3] = {{1, 2, 1}};
  static constexpr int kWeights[3][1] = {{1}, {2}, {1}};
  static Ipp8u finish(int v, int) { return static_cast<Ipp8u>((v + 7 + ((v >> 4) & 1)) >> 4); }
};

// 5x5 kernel of weight 571. The scaled division's product reaches about
// 4.29e9, so it is taken unsigned.
struct Gauss5x5 : fc::primitives::SymmetricRows5x5 {
  static constexpr int kTaps[3][5] = {{2, 7, 12, 7, 2}, {7, 31, 52, 31, 7}, {12, 52, 127, 52, 12}};
  static Ipp8u finish(int v, int) {
    return static_cast<Ipp8u>((static_cast<std::uint32_t>(v + 286) * 29382u) >> 24);
  }
};

}  // namespace

extern "C" FC_API IppStatus px_ippiFilterGauss_8u_C3R FC_TWO_IMAGE_PARAMS(int mask) {
  return fc::primitives::filterWithMaskCode<Gauss3x3, Gauss5x5> FC_TWO_IMAGE_ARGS(mask);
}

extern "C" FC_API IppStatus px_ippiFilterLowpass_8u_C3R FC_TWO_IMAGE_PARAMS(int mask) {
  return fc::primitives::filterWithMaskCode<Lowpass3x3, Lowpass5x5> FC_TWO_IMAGE_ARGS(mask);
}
