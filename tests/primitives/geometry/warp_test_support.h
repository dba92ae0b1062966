// warp_test_support.h - images and helpers for the rotation, shear and warp
// tests: a source and a destination in padded buffers with a border, so a
// write outside the destination image shows in the whole-buffer comparison.
#pragma once

#include <algorithm>
#include <cmath>

#include "dispatch/primitives.h"
#include "tests/support/test_image.h"

namespace fc::test {

inline TFCImageRect rectOf(const TestImage& image) { return {0, 0, image.width, image.height}; }

/// Source and destination of one geometric call.
struct WarpImages {
  TestImage src;
  TestImage dst;

  WarpImages(int srcWidth, int srcHeight, int dstWidth, int dstHeight, int channels)
      : src(srcWidth, srcHeight, channels, 5, 2), dst(dstWidth, dstHeight, channels, 7, 3) {
    src.randomize(11);
    dst.randomize(23);
  }

  /// Calls a geometric entry with the images and the given rectangles.
  template <typename Fn, typename... Extra>
  IppStatus run(Fn* fn, TFCImageRect srcRoi, TFCImageRect dstRoi, Extra... extra) {
    return fn(src.data(), src.size(), src.step, srcRoi, dst.data(), dst.step, dstRoi, extra...);
  }

  Ipp8u srcAt(int x, int y, int c = 0) { return src.at(x, y)[c]; }
  Ipp8u dstAt(int x, int y, int c = 0) { return dst.at(x, y)[c]; }
};

/// Fills the region of an image with one value, every channel.
inline void fill(TestImage& image, Ipp8u value) {
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width * image.channels; ++x) image.at(0, y)[x] = value;
}

/// Signed distance-like test of a point against a convex quadrangle: positive
/// inside, negative outside, in pixels (the smallest distance to an edge line).
inline double insideMargin(const double quad[4][2], double x, double y) {
  double area = 0;
  for (int k = 0; k < 4; ++k) {
    const auto* a = quad[k];
    const auto* b = quad[(k + 1) % 4];
    area += a[0] * b[1] - a[1] * b[0];
  }
  double margin = INFINITY;
  for (int k = 0; k < 4; ++k) {
    const auto* a = quad[k];
    const auto* b = quad[(k + 1) % 4];
    const double ex = b[0] - a[0], ey = b[1] - a[1];
    const double side = (ex * (y - a[1]) - ey * (x - a[0])) / std::hypot(ex, ey);
    margin = std::min(margin, area > 0 ? side : -side);
  }
  return margin;
}

}  // namespace fc::test
