// effect_pixels.h - three-byte frames as the 32-bit pixels of a
// video-effect object (padded to its size, in its colour model) and back.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "contracts/video/image_buffer.h"
#include "platform/media/effect_objects.h"

namespace fc {

/// width x height 32-bit pixels in memory aligned to 32 bytes.
class TEffectPixels {
public:
  TEffectPixels() = default;
  TEffectPixels(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  std::uint32_t* Data() { return pixels_.get(); }
  const std::uint32_t* Data() const { return pixels_.get(); }

private:
  struct Free {
    void operator()(std::uint32_t* p) const { std::free(p); }
  };
  int width_ = 0, height_ = 0;
  std::unique_ptr<std::uint32_t[], Free> pixels_;
};

/// `frame` (vfRGB24, at most the pixels' size) into `pixels` in `model`
/// with alpha 255; the padding right and below repeats the frame's last
/// column and row.
void ToEffectPixels(const TFCImageBuffer& frame, TEffectColorModel model, TEffectPixels& pixels);

/// The top-left frame-sized part of `pixels` into `frame` (vfRGB24, sized
/// already); alpha is dropped.
void FromEffectPixels(const TEffectPixels& pixels, TEffectColorModel model, TFCImageBuffer& frame);

/// Sides rounded up to a multiple of 8, as the effects require.
inline int EffectSide(int side) { return (side + 7) / 8 * 8; }

}  // namespace fc
