// resize_cubic.cpp - cubic resize: the cubic through four neighbouring
// samples, evaluated in Newton form, first along rows into float buffers,
// then down the columns of four such rows.
#include <algorithm>

#include "primitives/geometry/resize_separable.h"

namespace fc::primitives::resize {
namespace {

struct CubicKernel {
  using Sample = CubicSample;
  using Value = Ipp32f;
  static constexpr int kTaps = 4;

  /// The window is the pixels base - 1 .. base + 2; near the image's edges
  /// the base moves inward so the window stays inside the image, and the
  /// position relative to the base (t) runs from -1 to 2 accordingly.
  static Sample sample(double position, int origin, int imageLength) {
    const int index = indexOf(position);
    const int absolute = std::min(origin + index, imageLength - 1);
    int base = absolute;
    float t = 2.0f;
    if (absolute == imageLength - 1) {
      base = absolute - 2;
    } else {
      int shift = 0;
      if (absolute == 0)
        shift = 1;
      else if (absolute == imageLength - 2)
        shift = -1;
      base = absolute + shift;
      t = static_cast<float>(position - (index + shift));
    }
    const double tt = t;
    const double b = tt * (tt + 1.0) * 0.5;
    return {base - 1, tt + 1.0, b, (tt - 1.0) * b / 3.0};
  }

  static void toSampleOffsets(Sample& s, int channels) { s.first = sampleOffset(s.first, channels); }

  static void sourceRows(const Sample& s, int* rows) {
    for (int k = 0; k < kTaps; ++k) rows[k] = s.first + k;
  }

  /// The cubic through p0..p3 at relative positions -1, 0, 1, 2, at the
  /// sample's position. For whole-number samples the differences are exact
  /// in integers, giving the same value with fewer conversions.
  template <typename P, typename D>
  static double newton(P p0, P p1, P p2, P p3, const Sample& s) {
    const D d1 = p1 - p0;
    const D d2 = (p2 - p1) - (p1 - p0);
    const D d3 = p3 - 3 * p2 + 3 * p1 - p0;
    return p0 + s.a * d1 + s.b * d2 + s.c * d3;
  }

  template <int Channels>
  static void interpolateRow(const Ipp8u* source, int, const Sample* columns, int width,
                             Ipp32f* out) {
    for (int c = 0; c < width; ++c) {
      const Ipp8u* p = source + columns[c].first;
      for (int k = 0; k < Channels; ++k)
        out[c * Channels + k] = static_cast<Ipp32f>(newton<int, int>(
            p[k], p[k + Channels], p[k + 2 * Channels], p[k + 3 * Channels], columns[c]));
    }
  }

  static void combineRows(const Ipp32f* const* rows, const Sample& s, int length, Ipp8u* out) {
    // Local copies: stores through the byte pointer could alias the rows.
    const Sample row = s;
    const Ipp32f* r0 = rows[0];
    const Ipp32f* r1 = rows[1];
    const Ipp32f* r2 = rows[2];
    const Ipp32f* r3 = rows[3];
    for (int x = 0; x < length; ++x)
      out[x] = roundToSample(newton<double, double>(r0[x], r1[x], r2[x], r3[x], row));
  }
};

}  // namespace

CubicRoutines genericCubicRoutines() { return SeparableKernel<CubicKernel>::routines(); }

IppStatus resizeCubic(const Job& job, const CubicRoutines& routines) {
  return resizeSeparable<CubicKernel>(job, routines);
}

}  // namespace fc::primitives::resize
