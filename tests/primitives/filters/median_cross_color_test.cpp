#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "dispatch/primitives.h"
#include "tests/primitives/filters/rank_test_support.h"

namespace {

using fc::test::Reach;
using fc::test::TightSource;

int radiusOf(int mask) { return mask == ippMskSize5x5 ? 2 : 1; }

Ipp8u referenceCrossMedian(const TightSource& src, int x, int y, int c, int radius) {
  std::vector<int> values{src.at(x, y, c)};
  for (int d = 1; d <= radius; ++d)
    for (auto [dx, dy] : {std::pair{d, 0}, {-d, 0}, {0, d}, {0, -d}}) values.push_back(src.at(x + dx, y + dy, c));
  std::sort(values.begin(), values.end());
  return static_cast<Ipp8u>(values[values.size() / 2]);
}

TEST(MedianCrossFilter, MatchesSortedCrossesOnRandomImages) {
  std::uint32_t seed = 40;
  for (int mask : {ippMskSize3x3, ippMskSize5x5}) {
    for (IppiSize roi : {IppiSize{1, 1}, IppiSize{19, 7}, IppiSize{130, 3}}) {
      SCOPED_TRACE(testing::Message() << "mask " << mask << " width " << roi.width);
      const int radius = radiusOf(mask);
      const TightSource src(roi, Reach::centred(radius), 5, seed++);
      auto dst = fc::test::guardedDestination(roi, seed++);
      const auto expected = fc::test::expectedImage(
          dst, [&](int x, int y, int c) { return referenceCrossMedian(src, x, y, c, radius); });
      ASSERT_EQ(ippiFilterMedianCross_8u_C3R(src.region(), src.step(), dst.data(), dst.step, roi, mask),
                ippStsNoErr);
      EXPECT_EQ(dst.bytes, expected.bytes);
    }
  }
}

// The window pixel whose distance sum to all window pixels is smallest, the
// first one in row-by-row order among equals.
std::array<Ipp8u, 3> referenceColorMedian(const TightSource& src, int x, int y, int radius) {
  long long bestSum = -1;
  std::array<Ipp8u, 3> best{};
  for (int iy = -radius; iy <= radius; ++iy)
    for (int ix = -radius; ix <= radius; ++ix) {
      long long sum = 0;
      for (int jy = -radius; jy <= radius; ++jy)
        for (int jx = -radius; jx <= radius; ++jx)
          for (int c = 0; c < 3; ++c) sum += std::abs(src.at(x + ix, y + iy, c) - src.at(x + jx, y + jy, c));
      if (bestSum < 0 || sum < bestSum) {
        bestSum = sum;
        best = {src.at(x + ix, y + iy, 0), src.at(x + ix, y + iy, 1), src.at(x + ix, y + iy, 2)};
      }
    }
  return best;
}

TEST(MedianColorFilter, PicksThePixelNearestToAllOthersOnRandomImages) {
  std::uint32_t seed = 50;
  for (int mask : {ippMskSize3x3, ippMskSize5x5}) {
    for (IppiSize roi : {IppiSize{1, 1}, IppiSize{13, 6}}) {
      SCOPED_TRACE(testing::Message() << "mask " << mask << " width " << roi.width);
      const int radius = radiusOf(mask);
      TightSource src(roi, Reach::centred(radius), 2, seed++);
      // Few levels per channel so equal sums, and the tie rule, come up.
      std::mt19937 rng(seed++);
      src.fill([&] { return static_cast<Ipp8u>((rng() % 3) * 100); });
      auto dst = fc::test::guardedDestination(roi, seed++);
      const auto expected = fc::test::expectedImage(
          dst, [&](int x, int y, int c) { return referenceColorMedian(src, x, y, radius)[c]; });
      ASSERT_EQ(ippiFilterMedianColor_8u_C3R(src.region(), src.step(), dst.data(), dst.step, roi, mask),
                ippStsNoErr);
      EXPECT_EQ(dst.bytes, expected.bytes);
    }
  }
}

// (0,0,0) at indices 0-3, (10,0,0) at 4-7, (5,100,0) at 8: the first two
// colours both sum to 145 and the lower index wins.
TEST(MedianColorFilter, EqualSumsGoToTheLowerIndex) {
  const IppiSize roi{1, 1};
  TightSource src(roi, Reach::centred(1), 0, 60);
  for (int i = 0; i < 9; ++i) {
    Ipp8u* p = src.pixel(i % 3 - 1, i / 3 - 1);
    const Ipp8u colour[3] = {static_cast<Ipp8u>(i < 4 ? 0 : i < 8 ? 10 : 5), static_cast<Ipp8u>(i == 8 ? 100 : 0), 0};
    std::copy(colour, colour + 3, p);
  }
  auto dst = fc::test::guardedDestination(roi, 61);
  ASSERT_EQ(ippiFilterMedianColor_8u_C3R(src.region(), src.step(), dst.data(), dst.step, roi, ippMskSize3x3),
            ippStsNoErr);
  EXPECT_EQ(dst.at(0, 0)[0], 0);
  EXPECT_EQ(dst.at(0, 0)[1], 0);
  EXPECT_EQ(dst.at(0, 0)[2], 0);
}

TEST(MedianCrossAndColorFilters, CheckArgumentsInOrderWritingNothing) {
  const fc::test::ValidCall a;
  for (auto entry : {ippiFilterMedianCross_8u_C3R, ippiFilterMedianColor_8u_C3R}) {
    EXPECT_EQ(entry(nullptr, a.srcStep, a.dst, a.dstStep, a.roi, 33), ippStsNullPtrErr);
    EXPECT_EQ(entry(a.src, a.srcStep, nullptr, a.dstStep, a.roi, 33), ippStsNullPtrErr);
    EXPECT_EQ(entry(a.src, 0, a.dst, a.dstStep, {1, 0}, 34), ippStsSizeErr);
    EXPECT_EQ(entry(a.src, 0, a.dst, a.dstStep, a.roi, 34), ippStsStepErr);
    EXPECT_EQ(entry(a.src, a.srcStep, a.dst, a.dstStep, a.roi, 34), ippStsMaskSizeErr);
    EXPECT_EQ(entry(a.src, a.srcStep, a.dst, a.dstStep, a.roi, 0), ippStsMaskSizeErr);
  }
  EXPECT_TRUE(a.nothingWritten());
}

}  // namespace
