// resize_lanczos.cpp - Lanczos resize with a window of three pixels each
// side: six taps per axis, weights interpolated from a table of the kernel
// in steps of 0.01, borders replicated where taps leave the image.
#include <algorithm>
#include <array>
#include <cmath>

#include "primitives/geometry/resize_separable.h"

namespace fc::primitives::resize {
namespace {

constexpr int kTableSteps = 300;  // the kernel at 0.00, 0.01 ... 3.00
using KernelTable = std::array<Ipp32f, kTableSteps + 1>;

/// The Lanczos kernel of window 3 at x = k / 100 for k = 0 .. 300.
const KernelTable& kernelTable() {
  static const KernelTable table = [] {
    KernelTable t{};
    t[0] = 1.0f;
    for (int k = 1; k <= kTableSteps; ++k) {
      const double px = M_PI * (k / 100.0);
      t[k] = static_cast<Ipp32f>(std::sin(px) / px * (std::sin(px / 3.0) / (px / 3.0)));
    }
    return t;
  }();
  return table;
}

/// The kernel at a distance, linearly interpolated between table entries;
/// zero from three pixels away.
double kernelAt(double distance, const KernelTable& table) {
  if (!(distance > -3.0 && distance < 3.0)) return 0.0;
  const double u = std::fabs(distance) * 100.0;
  // A distance a rounding error below 3 may scale to exactly 300.
  const int n = std::min(static_cast<int>(u), kTableSteps - 1);
  return table[n] + (u - n) * (static_cast<double>(table[n + 1]) - table[n]);
}

struct LanczosKernel {
  static constexpr int kTaps = kLanczosTaps;
  using Sample = LanczosSample;
  using Value = Ipp32f;

  static Sample sample(double position, int origin, int imageLength) {
    const KernelTable& table = kernelTable();
    const int index = indexOf(position);
    const double fraction = position - index;
    Sample s;
    double sum = 0.0;
    for (int k = 0; k < kTaps; ++k) {
      s.taps[k] = std::clamp(origin + index - 2 + k, 0, imageLength - 1);
      s.weights[k] = kernelAt((k - 2) - fraction, table);
      sum += s.weights[k];
    }
    for (double& w : s.weights) w /= sum;
    return s;
  }

  static void toSampleOffsets(Sample& s, int channels) {
    for (Ipp32s& tap : s.taps) tap = sampleOffset(tap, channels);
  }

  static void sourceRows(const Sample& s, int* rows) { std::copy(s.taps, s.taps + kTaps, rows); }

  template <int Channels>
  static void interpolateRow(const Ipp8u* source, int, const Sample* columns, int width,
                             Ipp32f* out) {
    for (int c = 0; c < width; ++c) {
      const Sample& s = columns[c];
      for (int ch = 0; ch < Channels; ++ch) {
        double sum = 0.0;
        for (int k = 0; k < kTaps; ++k) sum += s.weights[k] * source[s.taps[k] + ch];
        out[c * Channels + ch] = static_cast<Ipp32f>(sum);
      }
    }
  }

  static void combineRows(const Ipp32f* const* rows, const Sample& s, int length, Ipp8u* out) {
    // Local copies: stores through the byte pointer could alias the rows.
    const Ipp32f* r[kTaps];
    double w[kTaps];
    for (int k = 0; k < kTaps; ++k) {
      r[k] = rows[k];
      w[k] = s.weights[k];
    }
    for (int x = 0; x < length; ++x) {
      double sum = 0.0;
      for (int k = 0; k < kTaps; ++k) sum += w[k] * r[k][x];
      out[x] = roundToSample(sum);
    }
  }
};

}  // namespace

LanczosRoutines genericLanczosRoutines() { return SeparableKernel<LanczosKernel>::routines(); }

IppStatus resizeLanczos(const Job& job, const LanczosRoutines& routines) {
  return resizeSeparable<LanczosKernel>(job, routines);
}

}  // namespace fc::primitives::resize
