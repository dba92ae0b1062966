#include "plugins/effect_pixels.h"

#include <cstring>
#include <new>

namespace fc {

TEffectPixels::TEffectPixels(int width, int height) : width_(width), height_(height) {
  // Rows of a multiple of 8 pixels stay 32-byte aligned when the start is.
  const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
  pixels_.reset(static_cast<std::uint32_t*>(std::aligned_alloc(32, (bytes + 31) / 32 * 32)));
  if (!pixels_ && bytes > 0) throw std::bad_alloc();
}

namespace {

// One pixel of blue, green, red as a 32-bit word of the colour model.
inline std::uint32_t Pack(const Ipp8u* bgr, bool rgba) {
  const std::uint32_t b = bgr[0], g = bgr[1], r = bgr[2];
  return rgba ? (r | g << 8 | b << 16 | 0xFF000000u) : (b | g << 8 | r << 16 | 0xFF000000u);
}

inline void Unpack(std::uint32_t pixel, Ipp8u* bgr, bool rgba) {
  const Ipp8u first = static_cast<Ipp8u>(pixel), third = static_cast<Ipp8u>(pixel >> 16);
  bgr[0] = rgba ? third : first;
  bgr[1] = static_cast<Ipp8u>(pixel >> 8);
  bgr[2] = rgba ? first : third;
}

}  // namespace

void ToEffectPixels(const TFCImageBuffer& frame, TEffectColorModel model, TEffectPixels& pixels) {
  const bool rgba = model == TEffectColorModel::RGBA8888;
  const int width = frame.Width(), height = frame.Height(), padded = pixels.Width();
  const Ipp8u* source = frame.Read();
  for (int y = 0; y < height; ++y) {
    const Ipp8u* in = source + static_cast<std::size_t>(y) * frame.Step();
    std::uint32_t* out = pixels.Data() + static_cast<std::size_t>(y) * padded;
    for (int x = 0; x < width; ++x) out[x] = Pack(in + x * 3, rgba);
    for (int x = width; x < padded; ++x) out[x] = out[width - 1];
  }
  const std::size_t rowBytes = static_cast<std::size_t>(padded) * 4;
  for (int y = height; y < pixels.Height(); ++y)
    std::memcpy(pixels.Data() + static_cast<std::size_t>(y) * padded,
                pixels.Data() + static_cast<std::size_t>(height - 1) * padded, rowBytes);
}

void FromEffectPixels(const TEffectPixels& pixels, TEffectColorModel model, TFCImageBuffer& frame) {
  const bool rgba = model == TEffectColorModel::RGBA8888;
  const int width = frame.Width(), height = frame.Height();
  Ipp8u* target = frame.Overwrite();  // every byte is written below
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* in = pixels.Data() + static_cast<std::size_t>(y) * pixels.Width();
    Ipp8u* out = target + static_cast<std::size_t>(y) * frame.Step();
    for (int x = 0; x < width; ++x) Unpack(in[x], out + x * 3, rgba);
  }
}

}  // namespace fc
