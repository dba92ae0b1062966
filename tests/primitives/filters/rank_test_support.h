// rank_test_support.h - sources sized exactly to the windows a rank filter
// reads, destinations with a guarded border, and brute-force window access
// for reference results.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "dispatch/Fcimagedefs.h"
#include "tests/support/test_image.h"

namespace fc::test {

/// Pixels a filter reads beyond each side of its region.
struct Reach {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  static Reach ofMask(IppiSize mask, IppiPoint anchor) {
    return {anchor.x, anchor.y, mask.width - 1 - anchor.x, mask.height - 1 - anchor.y};
  }
  static Reach centred(int radius) { return {radius, radius, radius, radius}; }
};

/// A random source holding only the pixels the filter may read: the buffer
/// ends with the last byte of the last row, so reads beyond the windows fall
/// outside the allocation (caught by AddressSanitizer).
class TightSource {
 public:
  TightSource(IppiSize roi, Reach reach, int padding, std::uint32_t seed)
      : reach_(reach),
        width_(roi.width + reach.left + reach.right),
        rows_(roi.height + reach.top + reach.bottom),
        step_(width_ * 3 + padding),
        bytes_(static_cast<std::size_t>(step_) * (rows_ - 1) + static_cast<std::size_t>(width_) * 3) {
    std::mt19937 rng(seed);
    for (auto& b : bytes_) b = static_cast<Ipp8u>(rng() & 0xFF);
  }

  int step() const { return step_; }
  const Ipp8u* region() const { return bytes_.data() + offset(0, 0); }
  /// Byte of channel c at pixel (x, y) counted from the region's first pixel.
  Ipp8u at(int x, int y, int c) const { return bytes_[offset(x, y) + c]; }
  Ipp8u* pixel(int x, int y) { return bytes_.data() + offset(x, y); }

  /// Sets every byte to values drawn by `draw`.
  void fill(const std::function<Ipp8u()>& draw) {
    for (auto& b : bytes_) b = draw();
  }

 private:
  std::size_t offset(int x, int y) const {
    return static_cast<std::size_t>(y + reach_.top) * step_ + static_cast<std::size_t>(x + reach_.left) * 3;
  }

  Reach reach_;
  int width_;
  int rows_;
  int step_;
  std::vector<Ipp8u> bytes_;
};

/// A destination of roi size with a border and row padding of random bytes.
inline TestImage guardedDestination(IppiSize roi, std::uint32_t seed) {
  TestImage dst(roi.width, roi.height, 3, 5, 2);
  dst.randomize(seed);
  return dst;
}

/// Arguments of a valid call on a 4 x 3 region (reach 2 on every side),
/// for checking how a filter rejects one bad argument at a time: nothing
/// may be written.
struct ValidCall {
  IppiSize roi{4, 3};
  TightSource source{roi, Reach::centred(2), 0, 7};
  TestImage destination = guardedDestination(roi, 8);
  std::vector<Ipp8u> untouched = destination.bytes;
  const Ipp8u* src = source.region();
  int srcStep = source.step();
  Ipp8u* dst = destination.data();
  int dstStep = destination.step;

  bool nothingWritten() const { return destination.bytes == untouched; }
};

/// The same channel's bytes of the window anchored at (x, y).
inline std::vector<int> windowValues(const TightSource& src, int x, int y, int c, IppiSize mask,
                                     IppiPoint anchor) {
  std::vector<int> values;
  for (int dy = 0; dy < mask.height; ++dy)
    for (int dx = 0; dx < mask.width; ++dx)
      values.push_back(src.at(x - anchor.x + dx, y - anchor.y + dy, c));
  return values;
}

/// `dst` with its region replaced by reference(x, y, c) - the whole buffer
/// a filter must leave behind.
inline TestImage expectedImage(const TestImage& dst, const std::function<Ipp8u(int, int, int)>& reference) {
  TestImage expected = dst;
  for (int y = 0; y < dst.height; ++y)
    for (int x = 0; x < dst.width; ++x)
      for (int c = 0; c < 3; ++c) expected.at(x, y)[c] = reference(x, y, c);
  return expected;
}

}  // namespace fc::test
