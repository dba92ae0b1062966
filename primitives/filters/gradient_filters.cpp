// gradient_filters.cpp - Prewitt and Sobel gradients of three-channel images.
// Each is one horizontal row kernel weighed across three rows; the result is
// saturated, so negative gradients become 0 rather than their magnitude.
#include "dispatch/primitives.h"
#include "primitives/filters/fixed_kernel_engine.h"

namespace {

using fc::primitives::saturateToByte;

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

}  // namespace

extern "C" FC_API IppStatus px_ippiFilterPrewittHoriz_8u_C3R FC_TWO_IMAGE_PARAMS() {
  return fc::primitives::filterWithKernel<PrewittHoriz> FC_TWO_IMAGE_ARGS();
}

extern "C" FC_API IppStatus px_ippiFilterPrewittVert_8u_C3R FC_TWO_IMAGE_PARAMS() {
  return fc::primitives::filterWithKernel<PrewittVert> FC_TWO_IMAGE_ARGS();
}

extern "C" FC_API IppStatus px_ippiFilterSobelHoriz_8u_C3R FC_TWO_IMAGE_PARAMS() {
  return fc::primitives::filterWithKernel<SobelHoriz> FC_TWO_IMAGE_ARGS();
}

extern "C" FC_API IppStatus px_ippiFilterSobelVert_8u_C3R FC_TWO_IMAGE_PARAMS() {
  return fc::primitives::filterWithKernel<SobelVert> FC_TWO_IMAGE_ARGS();
}
