// resize_linear.cpp - linear resize in fixed point: 14-bit weights, and a
// horizontal intermediate of the sample times 64 held in 16 bits, so both
// passes stay within 32-bit arithmetic.
#include <algorithm>

#include "primitives/geometry/resize_separable.h"

namespace fc::primitives::resize {
namespace {

constexpr int kOne = 16384;  // weight 1.0 in 14-bit fixed point

struct LinearKernel {
  using Sample = LinearSample;
  using Value = Ipp16u;
  static constexpr int kTaps = 2;

  /// On the image's last pixel the pair steps back one, weighted entirely on
  /// the last pixel, so no tap falls outside the image.
  static Sample sample(double position, int origin, int imageLength) {
    const int index = indexOf(position);
    const int absolute = std::min(origin + index, imageLength - 1);
    if (absolute == imageLength - 1) return {absolute - 1, kOne};
    const double fraction = position - index;
    return {absolute, static_cast<Ipp32s>(fraction * kOne + kIndexTolerance)};
  }

  static void toSampleOffsets(Sample& s, int channels) { s.first = sampleOffset(s.first, channels); }

  static void sourceRows(const Sample& s, int* rows) {
    rows[0] = s.first;
    rows[1] = s.first + 1;
  }

  template <int Channels>
  static void interpolateRow(const Ipp8u* source, int, const Sample* columns, int width,
                             Ipp16u* out) {
    for (int c = 0; c < width; ++c) {
      const Ipp8u* left = source + columns[c].first;
      const int w1 = columns[c].weight;
      const int w0 = kOne - w1;
      for (int k = 0; k < Channels; ++k)
        out[c * Channels + k] =
            static_cast<Ipp16u>((w0 * left[k] + w1 * left[k + Channels] + 128) >> 8);
    }
  }

  static void combineRows(const Ipp16u* const* rows, const Sample& s, int length, Ipp8u* out) {
    const Ipp16u* upper = rows[0];
    const Ipp16u* lower = rows[1];
    const int lowerWeight = s.weight;
    const int upperWeight = kOne - lowerWeight;
    for (int x = 0; x < length; ++x)
      out[x] = static_cast<Ipp8u>((lower[x] * lowerWeight + upper[x] * upperWeight + 524288) >> 20);
  }
};

}  // namespace

LinearRoutines genericLinearRoutines() { return SeparableKernel<LinearKernel>::routines(); }

IppStatus resizeLinear(const Job& job, const LinearRoutines& routines) {
  return resizeSeparable<LinearKernel>(job, routines);
}

}  // namespace fc::primitives::resize
