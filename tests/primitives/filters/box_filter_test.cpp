#include <gtest/gtest.h>

#include <climits>
#include <numeric>

#include "dispatch/primitives.h"
#include "primitives/filters/box_divisor.h"
#include "tests/primitives/filters/rank_test_support.h"

namespace {

using fc::primitives::box::reciprocalShift;
using fc::test::Reach;
using fc::test::TightSource;

struct BoxCase {
  IppiSize roi;
  IppiSize mask;
  IppiPoint anchor;
};

long long windowSum(const TightSource& src, int x, int y, int c, IppiSize mask, IppiPoint anchor) {
  const auto values = fc::test::windowValues(src, x, y, c, mask, anchor);
  return std::accumulate(values.begin(), values.end(), 0LL);
}

// The mean the box filter defines for a window sum, by the mask's path.
Ipp8u referenceMean(long long sum, IppiSize mask) {
  const long long n = static_cast<long long>(mask.width) * mask.height;
  if (n > 8100) return static_cast<Ipp8u>(static_cast<float>(sum) * (1.0f / static_cast<float>(n)) + 0.000009f);
  if (mask.width == 3 && mask.height == 3) return static_cast<Ipp8u>((sum * 29128) >> 18);
  const auto divisor = reciprocalShift(1.0f / static_cast<float>(n));
  return static_cast<Ipp8u>((static_cast<Ipp32s>(sum) * divisor.multiplier) >> divisor.shift);
}

IppStatus runBox(const TightSource& src, fc::test::TestImage& dst, const BoxCase& c) {
  return ippiFilterBox_8u_C3R(src.region(), src.step(), dst.data(), dst.step, c.roi, c.mask, c.anchor);
}

TEST(BoxFilter, MatchesWindowSumsOnRandomImagesForEveryPath) {
  const BoxCase cases[] = {
      {{17, 9}, {3, 3}, {1, 1}},   {{17, 9}, {3, 3}, {0, 2}},   {{13, 7}, {2, 2}, {1, 0}},
      {{11, 6}, {5, 3}, {4, 0}},   {{9, 5}, {1, 7}, {0, 6}},    {{7, 4}, {90, 90}, {45, 45}},
      {{5, 3}, {91, 91}, {90, 0}}, {{6, 2}, {8101, 1}, {8100, 0}}, {{1, 1}, {4, 4}, {3, 3}},
      // Around the widest directly summed mask (16) and the largest mask
      // whose sums fit 16 bits (257 pixels), where column sums wrap.
      {{9, 3}, {16, 16}, {15, 0}}, {{9, 3}, {17, 15}, {8, 7}},   {{9, 3}, {16, 17}, {0, 16}},
      {{4, 2}, {1, 257}, {0, 128}}, {{3, 2}, {257, 1}, {256, 0}}, {{3, 2}, {1, 258}, {0, 0}},
  };
  std::uint32_t seed = 1;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "mask " << c.mask.width << "x" << c.mask.height);
    const TightSource src(c.roi, Reach::ofMask(c.mask, c.anchor), 3, seed++);
    auto dst = fc::test::guardedDestination(c.roi, seed++);
    const auto expected = fc::test::expectedImage(dst, [&](int x, int y, int ch) {
      return referenceMean(windowSum(src, x, y, ch, c.mask, c.anchor), c.mask);
    });
    ASSERT_EQ(runBox(src, dst, c), ippStsNoErr);
    EXPECT_EQ(dst.bytes, expected.bytes);
  }
}

TEST(BoxFilter, ThreeByThreeMeans) {
  const BoxCase c{{1, 1}, {3, 3}, {1, 1}};
  TightSource src(c.roi, Reach::ofMask(c.mask, c.anchor), 0, 1);
  auto dst = fc::test::guardedDestination(c.roi, 2);

  src.fill([] { return Ipp8u{255}; });
  ASSERT_EQ(runBox(src, dst, c), ippStsNoErr);
  EXPECT_EQ(dst.at(0, 0)[0], 255);

  // Channel 0 sums to 17: 17 * 29128 >> 18 = 1, where 17 / 9 would round to 2.
  src.fill([] { return Ipp8u{0}; });
  const Ipp8u values[9] = {9, 8, 0, 0, 0, 0, 0, 0, 0};
  for (int i = 0; i < 9; ++i) src.pixel(i % 3 - 1, i / 3 - 1)[0] = values[i];
  ASSERT_EQ(runBox(src, dst, c), ippStsNoErr);
  EXPECT_EQ(dst.at(0, 0)[0], 1);
  EXPECT_EQ(dst.at(0, 0)[1], 0);
}

// The largest sums each path holds: 16-bit sums reach 65535 at 257 pixels.
TEST(BoxFilter, UniformWindowsKeepTheirValueOnEveryPath) {
  for (IppiSize mask : {IppiSize{3, 3}, IppiSize{16, 16}, IppiSize{1, 257}, IppiSize{20, 12}, IppiSize{16, 17},
                        IppiSize{91, 91}}) {
    SCOPED_TRACE(testing::Message() << "mask " << mask.width << "x" << mask.height);
    for (int value : {255, 254, 1}) {
      const BoxCase c{{5, 2}, mask, {mask.width / 2, mask.height / 2}};
      TightSource src(c.roi, Reach::ofMask(c.mask, c.anchor), 0, 1);
      src.fill([value] { return static_cast<Ipp8u>(value); });
      auto dst = fc::test::guardedDestination(c.roi, 2);
      const auto expected = fc::test::expectedImage(dst, [value](int, int, int) { return value; });
      ASSERT_EQ(runBox(src, dst, c), ippStsNoErr);
      EXPECT_EQ(dst.bytes, expected.bytes) << value;
    }
  }
}

TEST(BoxFilter, OneByOneMaskCopies) {
  const BoxCase c{{13, 5}, {1, 1}, {0, 0}};
  const TightSource src(c.roi, Reach{}, 2, 3);
  auto dst = fc::test::guardedDestination(c.roi, 4);
  const auto expected = fc::test::expectedImage(dst, [&](int x, int y, int ch) { return src.at(x, y, ch); });
  ASSERT_EQ(runBox(src, dst, c), ippStsNoErr);
  EXPECT_EQ(dst.bytes, expected.bytes);
}

// Windows of all v + 1 but one pixel v sum to n * v + n - 1: the float path
// truncates to v, the integer multiplier (rounded up) reaches v + 1.
TEST(BoxFilter, MasksAbove8100PixelsAverageInSinglePrecision) {
  for (int side : {90, 91}) {
    SCOPED_TRACE(side);
    const BoxCase c{{1, 1}, {side, side}, {0, 0}};
    TightSource src(c.roi, Reach::ofMask(c.mask, c.anchor), 0, 5);
    src.fill([] { return Ipp8u{101}; });
    src.pixel(0, 0)[0] = 100;
    auto dst = fc::test::guardedDestination(c.roi, 6);
    ASSERT_EQ(runBox(src, dst, c), ippStsNoErr);
    EXPECT_EQ(dst.at(0, 0)[0], side == 91 ? 100 : 101);
    EXPECT_EQ(dst.at(0, 0)[1], 101);
  }
}

TEST(BoxFilter, DivisorKeepsUniformWindowsAndFitsInt32) {
  for (long long n = 1; n <= 8100; ++n) {
    const auto divisor = reciprocalShift(1.0f / static_cast<float>(n));
    ASSERT_LE(divisor.shift, 23);
    ASSERT_LE(255 * n * divisor.multiplier, INT_MAX) << n;
    for (long long v : {1LL, 127LL, 254LL, 255LL})
      ASSERT_EQ((v * n * divisor.multiplier) >> divisor.shift, v) << "n " << n << " value " << v;
  }
}

TEST(BoxFilter, ChecksStepsBeforeSizeAndWritesNothingOnError) {
  const fc::test::ValidCall a;
  const IppiSize mask{3, 3};
  const IppiPoint centre{1, 1};

  EXPECT_EQ(ippiFilterBox_8u_C3R(nullptr, a.srcStep, a.dst, a.dstStep, a.roi, mask, centre), ippStsNullPtrErr);
  EXPECT_EQ(ippiFilterBox_8u_C3R(a.src, a.srcStep, nullptr, a.dstStep, a.roi, mask, centre), ippStsNullPtrErr);
  EXPECT_EQ(ippiFilterBox_8u_C3R(a.src, 0, a.dst, a.dstStep, {0, 3}, mask, centre), ippStsStepErr);
  EXPECT_EQ(ippiFilterBox_8u_C3R(a.src, a.srcStep, a.dst, -3, a.roi, mask, centre), ippStsStepErr);
  EXPECT_EQ(ippiFilterBox_8u_C3R(a.src, a.srcStep, a.dst, a.dstStep, {4, 0}, mask, centre), ippStsSizeErr);
  EXPECT_EQ(ippiFilterBox_8u_C3R(a.src, a.srcStep, a.dst, a.dstStep, a.roi, {0, 3}, {0, 0}), ippStsMaskSizeErr);
  EXPECT_EQ(ippiFilterBox_8u_C3R(a.src, a.srcStep, a.dst, a.dstStep, a.roi, mask, {3, 0}), ippStsAnchorErr);
  EXPECT_EQ(ippiFilterBox_8u_C3R(a.src, a.srcStep, a.dst, a.dstStep, a.roi, mask, {0, -1}), ippStsAnchorErr);
  EXPECT_TRUE(a.nothingWritten());
}

}  // namespace
