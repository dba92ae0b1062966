// The Wiener filter primitive against a direct evaluation of its rule.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "contracts/video/wiener_filter.h"

namespace fc {
namespace {

struct Image {
  int width, height, channels, step;
  std::vector<Ipp8u> bytes;
  Image(int w, int h, int c, unsigned seed) : width(w), height(h), channels(c), step(w * c + 5) {
    std::mt19937 random(seed);
    bytes.resize(static_cast<std::size_t>(step) * h);
    for (Ipp8u& b : bytes) b = static_cast<Ipp8u>(random() % 64 + (random() % 4 == 0 ? 150 : 0));
  }
  Ipp8u* At(int x, int y) { return bytes.data() + static_cast<std::ptrdiff_t>(y) * step + x * channels; }
};

// Sums every window from scratch and applies the rule as written.
std::vector<Ipp8u> Reference(Image& src, IppiPoint origin, IppiSize roi, IppiSize mask, IppiPoint anchor,
                             const float* levels) {
  const int c = src.channels;
  const double n = double(mask.width) * mask.height;
  auto moments = [&](int x, int y, int ch) {
    double s = 0, q = 0;
    for (int j = 0; j < mask.height; ++j)
      for (int i = 0; i < mask.width; ++i) {
        const double v = src.At(origin.x + x - anchor.x + i, origin.y + y - anchor.y + j)[ch];
        s += v;
        q += v * v;
      }
    const double mean = s / n;
    return std::pair{mean, std::max(q / n - mean * mean, 0.0)};
  };
  std::vector<Ipp8u> out(static_cast<std::size_t>(roi.width) * roi.height * c);
  for (int ch = 0; ch < c; ++ch) {
    double noise = levels[ch] * 255.0 * 255.0;
    if (levels[ch] == 0) {
      double total = 0;
      for (int y = 0; y < roi.height; ++y)
        for (int x = 0; x < roi.width; ++x) total += moments(x, y, ch).second;
      noise = total / (double(roi.width) * roi.height);
    }
    for (int y = 0; y < roi.height; ++y)
      for (int x = 0; x < roi.width; ++x) {
        const auto [mean, variance] = moments(x, y, ch);
        const double v = src.At(origin.x + x, origin.y + y)[ch];
        const double r = variance > noise ? mean + (variance - noise) / variance * (v - mean) : mean;
        out[(static_cast<std::size_t>(y) * roi.width + x) * c + ch] = static_cast<Ipp8u>(std::floor(r + 0.5));
      }
  }
  return out;
}

IppStatus Wiener(Image& src, IppiPoint origin, Ipp8u* dst, int dstStep, IppiSize roi, IppiSize mask,
                 IppiPoint anchor, const float* levels) {
  int size = 0;
  EXPECT_EQ(ippiFilterWienerGetBufferSize(roi, mask, src.channels, &size), ippStsNoErr);
  std::vector<Ipp8u> scratch(static_cast<std::size_t>(size) + 3);
  // A buffer that does not start on an aligned address still works.
  Ipp8u* buffer = scratch.data() + 3;
  const Ipp8u* from = src.At(origin.x, origin.y);
  return src.channels == 1
             ? ippiFilterWiener_8u_C1R(from, src.step, dst, dstStep, roi, mask, anchor, levels, buffer)
             : ippiFilterWiener_8u_C3R(from, src.step, dst, dstStep, roi, mask, anchor, levels, buffer);
}

TEST(WienerPrimitive, MatchesTheRuleForGivenAndEstimatedNoise) {
  const float given[3] = {0.002f, 0.0f, 0.05f};
  struct Case {
    int channels;
    IppiSize mask;
    IppiPoint anchor;
  };
  for (const Case& c : {Case{3, {3, 3}, {1, 1}}, Case{3, {5, 2}, {4, 0}}, Case{1, {1, 1}, {0, 0}},
                        Case{1, {4, 7}, {0, 6}}}) {
    Image src(31, 23, c.channels, 11);
    const IppiSize roi{31 - c.mask.width + 1 - 2, 23 - c.mask.height + 1 - 1};
    const IppiPoint origin{c.anchor.x + 1, c.anchor.y};
    std::vector<Ipp8u> dst(static_cast<std::size_t>(roi.width) * roi.height * c.channels);
    ASSERT_EQ(Wiener(src, origin, dst.data(), roi.width * c.channels, roi, c.mask, c.anchor, given), ippStsNoErr);
    EXPECT_EQ(dst, Reference(src, origin, roi, c.mask, c.anchor, given)) << c.mask.width << "x" << c.mask.height;
  }
}

TEST(WienerPrimitive, FlatAreasTakeTheirMeanAndFullNoiseSmoothsEverything) {
  Image src(8, 8, 1, 3);
  for (Ipp8u& b : src.bytes) b = 90;
  const float none[1] = {0.0f}, full[1] = {1.0f};
  std::vector<Ipp8u> dst(36);
  ASSERT_EQ(Wiener(src, {1, 1}, dst.data(), 6, {6, 6}, {3, 3}, {1, 1}, none), ippStsNoErr);
  EXPECT_EQ(dst, std::vector<Ipp8u>(36, 90));
  src.At(3, 3)[0] = 180;
  ASSERT_EQ(Wiener(src, {1, 1}, dst.data(), 6, {6, 6}, {3, 3}, {1, 1}, full), ippStsNoErr);
  EXPECT_EQ(dst[2 * 6 + 2], 100);  // (8 * 90 + 180) / 9
}

TEST(WienerPrimitive, RefusesBadArgumentsInOrderAndWritesNothing) {
  Image src(10, 10, 3, 5);
  Ipp8u buffer[4096];
  std::vector<Ipp8u> dst(300, 77);
  const float ok[3] = {0, 0, 0}, negative[3] = {0, -0.1f, 0}, nan[3] = {0, 0, std::nanf("")};
  const Ipp8u* s = src.At(1, 1);
  auto call = [&](const Ipp8u* from, int srcStep, int dstStep, IppiSize roi, IppiSize mask, IppiPoint anchor,
                  const float* levels, Ipp8u* scratch) {
    return ippiFilterWiener_8u_C3R(from, srcStep, dst.data(), dstStep, roi, mask, anchor, levels, scratch);
  };
  EXPECT_EQ(call(s, src.step, 30, {8, 8}, {3, 3}, {1, 1}, ok, nullptr), ippStsNullPtrErr);
  EXPECT_EQ(call(nullptr, 0, 30, {8, 8}, {3, 3}, {1, 1}, ok, buffer), ippStsNullPtrErr);
  EXPECT_EQ(call(s, 0, 30, {0, 8}, {3, 3}, {1, 1}, ok, buffer), ippStsSizeErr);
  EXPECT_EQ(call(s, 0, 30, {8, 8}, {0, 3}, {1, 1}, ok, buffer), ippStsStepErr);
  EXPECT_EQ(call(s, src.step, 30, {8, 8}, {0, 3}, {5, 1}, ok, buffer), ippStsMaskSizeErr);
  EXPECT_EQ(call(s, src.step, 30, {8, 8}, {3, 3}, {1, 3}, ok, buffer), ippStsAnchorErr);
  EXPECT_EQ(call(s, src.step, 23, {8, 8}, {3, 3}, {1, 1}, ok, buffer), ippStsStrideErr);
  EXPECT_EQ(call(s, 29, 24, {8, 8}, {3, 3}, {1, 1}, ok, buffer), ippStsStrideErr);
  EXPECT_EQ(call(s, src.step, 30, {8, 8}, {3, 3}, {1, 1}, negative, buffer), ippStsNoiseRangeErr);
  EXPECT_EQ(call(s, src.step, 30, {8, 8}, {3, 3}, {1, 1}, nan, buffer), ippStsNoiseRangeErr);
  EXPECT_EQ(dst, std::vector<Ipp8u>(300, 77));

  int size = -1;
  EXPECT_EQ(ippiFilterWienerGetBufferSize({8, 8}, {3, 3}, 3, nullptr), ippStsNullPtrErr);
  EXPECT_EQ(ippiFilterWienerGetBufferSize({8, 0}, {3, 3}, 3, &size), ippStsSizeErr);
  EXPECT_EQ(ippiFilterWienerGetBufferSize({8, 8}, {3, 0}, 3, &size), ippStsMaskSizeErr);
  EXPECT_EQ(ippiFilterWienerGetBufferSize({8, 8}, {3, 3}, 2, &size), ippStsNumChannelsErr);
  EXPECT_EQ(ippiFilterWienerGetBufferSize({0x7fffffff, 1}, {3, 3}, 3, &size), ippStsSizeErr);
  EXPECT_EQ(size, -1);
}

}  // namespace
}  // namespace fc
