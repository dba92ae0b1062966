// warp_kernels.cpp - nearest, linear and cubic interpolation of warped pixels.
#include "primitives/geometry/warp_kernels.h"

#include <algorithm>

namespace fc::primitives::warp {
namespace {

/// v truncated toward zero and held within 0..limit; NaN gives 0.
inline int heldIndex(double v, int limit) {
  if (!(v > 0.0)) return 0;
  if (v >= limit) return limit;
  return static_cast<int>(v);
}

/// A sample value truncated toward zero and limited to 0..255.
inline Ipp8u sample(double v) {
  if (!(v > 0.0)) return 0;
  if (v >= 255.0) return 255;
  return static_cast<Ipp8u>(v);
}

template <int C>
inline void nearestPixel(const SourceImage& s, double sx, double sy, Ipp8u* out) {
  const Ipp8u* p = s.pixel(heldIndex(sx + 0.5, s.width - 1), heldIndex(sy + 0.5, s.height - 1));
  for (int c = 0; c < C; ++c) out[c] = p[c];
}

/// First index of a linear cell and the weight of the second; the cell is
/// moved one back with weight 1.0 at the image's last column or row.
struct LinearTap {
  int index;
  double fraction;
};

inline LinearTap linearTap(double s, int size) {
  LinearTap tap{heldIndex(s + 0.0000001, size - 1), 0.0};
  tap.fraction = s - tap.index;
  if (tap.index >= size - 1) {
    tap.index = size - 2;
    tap.fraction = 1.0;
  }
  return tap;
}

template <int C>
inline void linearPixel(const SourceImage& s, double sx, double sy, Ipp8u* out) {
  const LinearTap tx = linearTap(sx, s.width);
  const LinearTap ty = linearTap(sy, s.height);
  const Ipp8u* upper = s.pixel(tx.index, ty.index);
  const Ipp8u* lower = s.pixel(tx.index, ty.index + 1);
  for (int c = 0; c < C; ++c) {
    const double top = upper[c] + (upper[C + c] - upper[c]) * tx.fraction;
    const double bottom = lower[c] + (lower[C + c] - lower[c]) * tx.fraction;
    out[c] = sample(top + 0.5 + (bottom - top) * ty.fraction);
  }
}

/// Four tap indices around s, held inside 0..size-1, with their Catmull-Rom
/// weights; the weights are (0, 1, 0, 0) on a whole position.
struct CubicTaps {
  int index[4];
  double weight[4];
};

inline CubicTaps cubicTaps(double s, int size) {
  CubicTaps taps;
  const int base = heldIndex(s, size - 1);
  const double t = s - base;
  const double t2 = t * t;
  const double t3 = t2 * t;
  taps.weight[0] = 0.5 * (-t3 + 2.0 * t2 - t);
  taps.weight[1] = 0.5 * (3.0 * t3 - 5.0 * t2 + 2.0);
  taps.weight[2] = 0.5 * (-3.0 * t3 + 4.0 * t2 + t);
  taps.weight[3] = 0.5 * (t3 - t2);
  for (int k = 0; k < 4; ++k) taps.index[k] = std::clamp(base - 1 + k, 0, size - 1);
  return taps;
}

template <int C>
inline void cubicPixel(const SourceImage& s, double sx, double sy, Ipp8u* out) {
  const CubicTaps tx = cubicTaps(sx, s.width);
  const CubicTaps ty = cubicTaps(sy, s.height);
  double sum[C] = {};
  for (int r = 0; r < 4; ++r) {
    const Ipp8u* row = s.pixel(0, ty.index[r]);
    for (int c = 0; c < C; ++c) {
      double across = 0.0;
      for (int k = 0; k < 4; ++k) across += tx.weight[k] * row[tx.index[k] * C + c];
      sum[c] += ty.weight[r] * across;
    }
  }
  for (int c = 0; c < C; ++c) out[c] = sample(sum[c] + 0.5);
}

inline bool inside(const PixelRect& r, double x, double y) { return x >= r.x0 && x <= r.x1 && y >= r.y0 && y <= r.y1; }

template <int C, void (*Pixel)(const SourceImage&, double, double, Ipp8u*)>
long long runRow(const SourceImage& s, const double* positions, int count, Ipp8u* dstRow, const PixelRect* accept) {
  long long written = 0;
  for (int i = 0; i < count; ++i) {
    const double sx = positions[2 * i];
    const double sy = positions[2 * i + 1];
    if (accept != nullptr && !inside(*accept, sx, sy)) continue;
    Pixel(s, sx, sy, dstRow + static_cast<std::ptrdiff_t>(i) * C);
    ++written;
  }
  return written;
}

template <int C>
long long runRowOf(const SourceImage& s, Kernel kernel, const double* positions, int count, Ipp8u* dstRow,
                   const PixelRect* accept) {
  switch (kernel) {
    case Kernel::nearest: return runRow<C, nearestPixel<C>>(s, positions, count, dstRow, accept);
    case Kernel::linear: return runRow<C, linearPixel<C>>(s, positions, count, dstRow, accept);
    case Kernel::cubic: return runRow<C, cubicPixel<C>>(s, positions, count, dstRow, accept);
  }
  return 0;
}

}  // namespace

long long interpolateRow(const SourceImage& src, Kernel kernel, const double* positions, int count, Ipp8u* dstRow,
                         const PixelRect* accept) {
  return src.channels == 3 ? runRowOf<3>(src, kernel, positions, count, dstRow, accept)
                           : runRowOf<1>(src, kernel, positions, count, dstRow, accept);
}

void projectRow(const double (*m)[3], int y, int first, int count, double* xy) {
  const double py = y;
  for (int i = 0; i < count; ++i) {
    const double px = first + i;
    const double w = m[2][0] * px + m[2][1] * py + m[2][2];
    xy[2 * i] = (m[0][0] * px + m[0][1] * py + m[0][2]) / w;
    xy[2 * i + 1] = (m[1][0] * px + m[1][1] * py + m[1][2]) / w;
  }
}

constinit const WarpKernels kGenericWarpKernels{interpolateRow, projectRow};

}  // namespace fc::primitives::warp
