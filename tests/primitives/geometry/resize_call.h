// resize_call.h - runs a resize entry on test images with readable defaults.
#pragma once

#include "dispatch/primitives.h"
#include "tests/support/test_image.h"

namespace fc::test {

using ResizeFn = decltype(px_ippiResize_8u_C3R);

inline ResizeFn* pxResizeFor(int channels) {
  return channels == 3 ? px_ippiResize_8u_C3R : px_ippiResize_8u_C1R;
}

/// One resize call: the whole source image is `src` (its region), the
/// destination area is `dst`'s region unless dstRoi says otherwise.
struct ResizeCall {
  TFCImageRect roi{};
  double xFactor = 1.0;
  double yFactor = 1.0;
  int interpolation = IPPI_INTER_LINEAR;
  IppiSize dstRoi{-1, -1};

  IppStatus run(ResizeFn* fn, const TestImage& src, TestImage& dst) const {
    const IppiSize area = dstRoi.width < 0 ? dst.size() : dstRoi;
    return fn(src.data(), src.size(), src.step, roi, dst.data(), dst.step, area, xFactor, yFactor,
              interpolation);
  }
  IppStatus run(const TestImage& src, TestImage& dst) const {
    return run(pxResizeFor(src.channels), src, dst);
  }
};

/// The whole image as a rectangle.
inline TFCImageRect wholeOf(const TestImage& image) { return {0, 0, image.width, image.height}; }

}  // namespace fc::test
