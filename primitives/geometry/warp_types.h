// warp_types.h - the pieces shared by the rotation, shear, perspective and
// bilinear warp engines: images, rectangles, quadrangles and the validated
// state of one warp call. Internal to the library.
//
// Coordinates are whole-image pixel coordinates, x to the right and y down;
// pixel (x, y) is the sample at integer position (x, y). Rectangles given by
// the caller only clip.
#pragma once

#include <array>
#include <cstddef>

#include "dispatch/Fcimagedefs.h"

namespace fc::primitives::warp {

struct WarpKernels;

/// The geometric argument list as received by an entry point, with the
/// kernels of the code variant that runs it.
struct GeometricArgs {
  const Ipp8u* src;
  IppiSize srcSize;
  int srcStep;
  TFCImageRect srcRoi;
  Ipp8u* dst;
  int dstStep;
  TFCImageRect dstRoi;
  const WarpKernels* kernels;
};

/// A rectangle of pixels, both bounds included.
struct PixelRect {
  int x0, y0, x1, y1;
};

/// The whole source image, read by the kernels.
struct SourceImage {
  const Ipp8u* data;
  int width, height, step, channels;

  const Ipp8u* pixel(int x, int y) const {
    return data + static_cast<std::ptrdiff_t>(y) * step + static_cast<std::ptrdiff_t>(x) * channels;
  }
};

/// The whole destination image; only pixels of the destination rectangle are
/// ever touched.
struct DestImage {
  Ipp8u* data;
  int step, channels;

  Ipp8u* pixel(int x, int y) const {
    return data + static_cast<std::ptrdiff_t>(y) * step + static_cast<std::ptrdiff_t>(x) * channels;
  }
};

struct Point {
  double x, y;
};

/// Images of the corners of a rectangle, in the order top-left, top-right,
/// bottom-right, bottom-left.
using Quad = std::array<Point, 4>;

/// Interpolation kernels, by the value of the interpolation argument.
enum class Kernel { nearest = IPPI_INTER_NN, linear = IPPI_INTER_LINEAR, cubic = IPPI_INTER_CUBIC };

/// A call whose arguments passed the checks: the source clipped to its image,
/// the destination rectangle, the kernel after reduction for small sources,
/// and the variant's routines.
struct WarpSetup {
  SourceImage src;
  PixelRect srcRect;
  DestImage dst;
  PixelRect dstRect;
  Kernel kernel;
  bool smoothEdge;
  const WarpKernels* kernels;
};

}  // namespace fc::primitives::warp
