// resize_internal.h - shared pieces of the resize primitives: the prepared
// job every kernel receives, the per-call work buffers, the sampling
// positions and the cache of horizontally interpolated source rows.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "dispatch/primitives.h"
#include "primitives/geometry/resize_rows.h"
#include "primitives/work_buffer.h"

namespace fc::primitives::resize {

using ::fc::primitives::WorkBuffer;

/// Tolerance added before truncating a position to a pixel index, so that a
/// position a rounding error below a whole number still lands on it.
inline constexpr double kIndexTolerance = 0.0000001;

/// A checked and clipped resize call: the source rectangle lies inside the
/// source image and the destination size is at least one pixel each way.
struct Job {
  const Ipp8u* src;
  int srcStep;
  IppiSize srcSize;    // the whole source image
  TFCImageRect roi;    // the source rectangle, clipped to the image
  Ipp8u* dst;
  int dstStep;
  int dstWidth;        // pixels written per row
  int dstHeight;       // rows written
  double xFactor;
  double yFactor;
  double exactWidth;   // clipped width times xFactor
  double exactHeight;  // clipped height times yFactor
  int channels;        // 1 or 3

  const Ipp8u* srcRow(int row) const {
    return src + static_cast<std::ptrdiff_t>(row) * srcStep;
  }
  Ipp8u* dstRow(int row) const { return dst + static_cast<std::ptrdiff_t>(row) * dstStep; }
};

/// Kernels: each writes the dstWidth x dstHeight pixels of the job and
/// returns ippStsNoErr, or ippStsMemAllocErr before writing anything.
IppStatus resizeNearest(const Job& job, const NearestRoutines& routines);
IppStatus resizeLinear(const Job& job, const LinearRoutines& routines);
IppStatus resizeCubic(const Job& job, const CubicRoutines& routines);
IppStatus resizeLanczos(const Job& job, const LanczosRoutines& routines);
IppStatus resizeSuper(const Job& job);

/// True when every buffer was allocated.
template <typename... Buffers>
bool allAllocated(const Buffers&... buffers) {
  return (static_cast<bool>(buffers) && ...);
}

/// Corner-aligned step of the linear, cubic and Lanczos kernels: the first
/// destination pixel samples the first source pixel, the last one at most the
/// last source pixel of the rectangle.
inline double alignedStep(int length, double exactLength) {
  return exactLength > 1.0 ? (length - 1) / (exactLength - 1) : 0.0;
}

/// Calls visit(index, position) for `count` positions start, start + step ...
/// accumulated by repeated addition, so every kernel sees the same positions.
template <typename Visit>
void forEachPosition(int count, double start, double step, Visit visit) {
  double position = start;
  for (int i = 0; i < count; ++i) {
    visit(i, position);
    position += step;
  }
}

/// Offset in samples of a pixel from the start of its row. A valid image
/// keeps it in range, its row fitting an int step.
inline Ipp32s sampleOffset(std::int64_t column, int channels) {
  return static_cast<Ipp32s>(column * channels);
}

/// Pixel index of a sampling position.
inline int indexOf(double position) { return static_cast<int>(position + kIndexTolerance); }

/// Keeps the horizontally interpolated source rows of the last destination
/// row, so each source row is interpolated once while consecutive
/// destination rows need it.
template <typename T, int Taps>
class RowCache {
 public:
  /// `buffers` holds Taps row buffers of `rowLength` values each.
  RowCache(T* buffers, std::ptrdiff_t rowLength) {
    for (int k = 0; k < Taps; ++k) {
      slots_[k] = buffers + k * rowLength;
      held_[k] = -1;
    }
  }

  /// Points rows[k] at the interpolated source row sourceRows[k], calling
  /// fill(sourceRow, buffer) only for rows not already held.
  template <typename Fill>
  void gather(const int* sourceRows, const T** rows, Fill fill) {
    bool used[Taps] = {};
    bool found[Taps] = {};
    for (int k = 0; k < Taps; ++k) {
      for (int s = 0; s < Taps; ++s) {
        if (held_[s] == sourceRows[k]) {
          rows[k] = slots_[s];
          used[s] = found[k] = true;
          break;
        }
      }
    }
    for (int k = 0; k < Taps; ++k) {
      if (found[k]) continue;
      int s = 0;
      while (used[s]) ++s;
      fill(sourceRows[k], slots_[s]);
      held_[s] = sourceRows[k];
      used[s] = true;
      rows[k] = slots_[s];
      // A later tap asking for the same row (replicated border) shares it.
      for (int later = k + 1; later < Taps; ++later) {
        if (!found[later] && sourceRows[later] == sourceRows[k]) {
          rows[later] = slots_[s];
          found[later] = true;
        }
      }
    }
  }

 private:
  T* slots_[Taps];
  int held_[Taps];
};

/// Number of values in one row buffer: the destination width plus four
/// pixels of slack, times the channel count.
inline std::int64_t rowBufferLength(const Job& job) {
  return (static_cast<std::int64_t>(job.dstWidth) + 4) * job.channels;
}

/// Rounds a kernel's final value to a sample: offset by just over a half,
/// truncated toward zero and clamped to 0..255.
/// Kernel values are finite, so clamping before the conversion gives the
/// same bytes and lets the loops around it vectorise.
inline Ipp8u roundToSample(double value) {
  const double offset = value + 0.5000001;
  return static_cast<Ipp8u>(static_cast<int>(offset < 0.0 ? 0.0 : offset > 255.0 ? 255.0 : offset));
}

}  // namespace fc::primitives::resize
