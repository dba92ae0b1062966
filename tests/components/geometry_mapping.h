// geometry_mapping.h - frames and a whole-frame check for the tests of the
// resize, rotate, shear and warp components: each output pixel either
// copies a given input pixel or stays black.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <random>

#include "contracts/video/roi_filters.h"

namespace fc::test {

/// A frame of reproducible pseudo-random bytes: a pixel read from the wrong
/// place shows.
inline TFCImageBuffer NoiseFrame(int width, int height, TFCVideoFormat format, unsigned seed = 7) {
  TFCImageBuffer frame(width, height, format);
  std::mt19937 random(seed);
  Ipp8u* bytes = frame.Write();
  // Values 1..255, so no input pixel reads as black.
  for (std::size_t i = 0; i < frame.Size(); ++i) bytes[i] = static_cast<Ipp8u>(1 + random() % 255);
  return frame;
}

/// Sets the output size of a size filter.
inline void SetOutputSize(TFCCommonROISizeFilter& filter, int width, int height) {
  filter.GetOutputSize()->SetWidth(static_cast<std::uint32_t>(width));
  filter.GetOutputSize()->SetHeight(static_cast<std::uint32_t>(height));
}

/// Enables the region of a region filter at (x, y), width x height.
inline void SetRegion(TFCCommonROIFilter& filter, int x, int y, int width, int height) {
  TFCRectRegion* region = filter.GetRegion();
  region->SetX(static_cast<std::uint16_t>(x));
  region->SetY(static_cast<std::uint16_t>(y));
  region->SetWidth(static_cast<std::uint16_t>(width));
  region->SetHeight(static_cast<std::uint16_t>(height));
  region->SetEnabled(true);
}

/// Where an output pixel comes from: an input pixel, or none (black).
using TSourceOf = std::function<std::optional<IppiPoint>(int x, int y)>;

/// Checks every pixel of `out` against `in` through `sourceOf`.
inline ::testing::AssertionResult MapsPixels(const TFCImageBuffer& out, const TFCImageBuffer& in,
                                             const TSourceOf& sourceOf) {
  if (out.Format() != in.Format()) return ::testing::AssertionFailure() << "the format changed";
  const int bpp = out.BytesPerPixel();
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x) {
      const Ipp8u* got = out.Read() + y * out.Step() + x * bpp;
      const std::optional<IppiPoint> from = sourceOf(x, y);
      for (int c = 0; c < bpp; ++c) {
        const int want = from ? in.Read()[from->y * in.Step() + from->x * bpp + c] : 0;
        if (got[c] != want)
          return ::testing::AssertionFailure()
                 << "pixel (" << x << ", " << y << ") byte " << c << " is " << int(got[c]) << ", wanted "
                 << want << (from ? " from the input" : " (black)");
      }
    }
  return ::testing::AssertionSuccess();
}

/// The source point when (x, y) lies inside a frame of `size`, else none.
inline std::optional<IppiPoint> Inside(IppiSize size, int x, int y) {
  if (x < 0 || y < 0 || x >= size.width || y >= size.height) return std::nullopt;
  return IppiPoint{x, y};
}

/// Pixels of `frame` that are not black.
inline int LitPixels(const TFCImageBuffer& frame) {
  int lit = 0;
  const int bpp = frame.BytesPerPixel();
  for (std::size_t i = 0; i < frame.Size(); i += bpp) {
    bool black = true;
    for (int c = 0; c < bpp; ++c) black = black && frame.Read()[i + c] == 0;
    lit += !black;
  }
  return lit;
}

/// Checks that edge smoothing changed `sharp` into `smooth` only where the
/// picture was not drawn (black in `sharp`), and changed something.
inline ::testing::AssertionResult BlendsOnlyOutsideThePicture(const TFCImageBuffer& sharp,
                                                              const TFCImageBuffer& smooth) {
  if (sharp.Size() != smooth.Size()) return ::testing::AssertionFailure() << "the sizes differ";
  int blended = 0;
  for (std::size_t i = 0; i < sharp.Size(); ++i)
    if (sharp.Read()[i] != smooth.Read()[i]) {
      if (sharp.Read()[i] != 0) return ::testing::AssertionFailure() << "byte " << i << " of the picture changed";
      ++blended;
    }
  if (blended == 0) return ::testing::AssertionFailure() << "nothing was blended";
  return ::testing::AssertionSuccess();
}

}  // namespace fc::test
