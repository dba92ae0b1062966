// test_image.h - images for primitive tests: a region inside a larger,
// padded buffer, filled with reproducible random bytes.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "dispatch/Fcimagedefs.h"

namespace fc::test {

/// An image of width x height pixels of `channels` bytes, stored with `step`
/// bytes per row (at least the row's length) plus a margin of `border`
/// pixels on every side, so primitives that read or write out of bounds are
/// caught by comparing the whole buffer.
struct TestImage {
  int width = 0;
  int height = 0;
  int channels = 1;
  int border = 0;
  int step = 0;
  std::vector<Ipp8u> bytes;

  TestImage(int w, int h, int ch, int padding = 0, int borderPixels = 0)
      : width(w), height(h), channels(ch), border(borderPixels),
        step((w + 2 * borderPixels) * ch + padding),
        bytes(static_cast<std::size_t>(step) * (h + 2 * borderPixels), 0) {}

  /// First byte of the region (inside the border).
  Ipp8u* data() { return at(0, 0); }
  const Ipp8u* data() const { return bytes.data() + offset(0, 0); }
  Ipp8u* at(int x, int y) { return bytes.data() + offset(x, y); }
  IppiSize size() const { return {width, height}; }

  std::size_t offset(int x, int y) const {
    return static_cast<std::size_t>(y + border) * step + static_cast<std::size_t>(x + border) * channels;
  }

  /// Fills the whole buffer, border and padding included, with random bytes.
  void randomize(std::uint32_t seed) {
    std::mt19937 rng(seed);
    for (auto& b : bytes) b = static_cast<Ipp8u>(rng() & 0xFF);
  }
};

}  // namespace fc::test
