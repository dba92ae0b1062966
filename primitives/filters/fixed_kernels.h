// fixed_kernels.h - the kernels of the fixed-kernel filters, as row kernels
// and row weights for FixedKernelFilter, each with the rule that turns the
// weighed sum into the destination byte. Compiled once per code variant
// (see primitives/variant.h).
#pragma once

#include <cstdint>

#include "primitives/filters/fixed_kernel_engine.h"

namespace fc::primitives {
inline namespace FC_VARIANT_TAG {
namespace kernels {

// Gradients. The result is saturated, so negative gradients become 0 rather
// than their magnitude.
struct SaturatedGradient {
  static constexpr int kRadius = 1;
  static constexpr int kKinds = 1;
  static Ipp8u finish(int v, int) { return saturateToByte(v); }
};

// Row below minus row above, each row summed flat.
struct PrewittHoriz : SaturatedGradient {
  static constexpr int kTaps[1][3] = {{1, 1, 1}};
  static constexpr int kWeights[3][1] = {{-1}, {0}, {1}};
};

// Column to the left minus column to the right, each column summed flat.
struct PrewittVert : SaturatedGradient {
  static constexpr int kTaps[1][3] = {{1, 0, -1}};
  static constexpr int kWeights[3][1] = {{1}, {1}, {1}};
};

// Row below minus row above, each row weighed 1, 2, 1.
struct SobelHoriz : SaturatedGradient {
  static constexpr int kTaps[1][3] = {{1, 2, 1}};
  static constexpr int kWeights[3][1] = {{-1}, {0}, {1}};
};

// Column to the left minus column to the right, rows weighed 1, 2, 1.
struct SobelVert : SaturatedGradient {
  static constexpr int kTaps[1][3] = {{1, 0, -1}};
  static constexpr int kWeights[3][1] = {{1}, {2}, {1}};
};

// The centre weighed against its neighbourhood.

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
struct Laplace5x5 : SymmetricRows5x5 {
  static constexpr int kTaps[3][5] = {{-1, -3, -4, -3, -1}, {-3, 0, 6, 0, -3}, {-4, 6, 20, 6, -4}};
  static Ipp8u finish(int v, int) { return saturateToByte(v); }
};

// Smoothing. The divisions by the kernel's weight are fixed-point
// multiplications with rounding offsets chosen so that a uniform region keeps
// its value.

// Mean of the 3x3 neighbourhood: (S + 5) * 455 / 2^12, about S / 9.
struct Lowpass3x3 : BoxSum3x3 {
  static Ipp8u finish(int sum, int) { return static_cast<Ipp8u>(((sum + 5) * 455) >> 12); }
};

// Mean of the 5x5 neighbourhood: (S + 13) * 10485 / 2^18, about S / 25.
struct Lowpass5x5 : BoxSum5x5 {
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
struct Gauss5x5 : SymmetricRows5x5 {
  static constexpr int kTaps[3][5] = {{2, 7, 12, 7, 2}, {7, 31, 52, 31, 7}, {12, 52, 127, 52, 12}};
  static Ipp8u finish(int v, int) {
    return static_cast<Ipp8u>((static_cast<std::uint32_t>(v + 286) * 29382u) >> 24);
  }
};

}  // namespace kernels
}  // namespace FC_VARIANT_TAG
}  // namespace fc::primitives
