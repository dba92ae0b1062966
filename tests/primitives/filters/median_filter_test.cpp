#include <gtest/gtest.h>

#include <algorithm>

#include "dispatch/primitives.h"
#include "tests/primitives/filters/rank_test_support.h"

namespace {

using fc::test::Reach;
using fc::test::TightSource;

struct MedianCase {
  IppiSize roi;
  IppiSize mask;
  IppiPoint anchor;
};

Ipp8u referenceMedian(const TightSource& src, int x, int y, int c, IppiSize mask, IppiPoint anchor) {
  auto values = fc::test::windowValues(src, x, y, c, mask, anchor);
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return static_cast<Ipp8u>(values[values.size() / 2]);
}

void expectMedians(const MedianCase& c, TightSource& src, std::uint32_t seed) {
  SCOPED_TRACE(testing::Message() << "mask " << c.mask.width << "x" << c.mask.height << " anchor "
                                  << c.anchor.x << "," << c.anchor.y);
  auto dst = fc::test::guardedDestination(c.roi, seed);
  const auto expected = fc::test::expectedImage(
      dst, [&](int x, int y, int ch) { return referenceMedian(src, x, y, ch, c.mask, c.anchor); });
  ASSERT_EQ(ippiFilterMedian_8u_C3R(src.region(), src.step(), dst.data(), dst.step, c.roi, c.mask, c.anchor),
            ippStsNoErr);
  EXPECT_EQ(dst.bytes, expected.bytes);
}

// Every method: copy, the sorted-column 3 x 3, the networks, the column
// sort (1 x 7 and taller) and the sliding histogram, with off-centre anchors
// and rows longer than the routines' runs.
const MedianCase kCases[] = {
    {{13, 5}, {1, 1}, {0, 0}},  {{37, 6}, {3, 3}, {1, 1}},   {{100, 4}, {5, 5}, {0, 4}},
    {{190, 3}, {3, 3}, {2, 0}}, {{11, 6}, {3, 1}, {0, 0}},   {{11, 6}, {5, 1}, {4, 0}},
    {{11, 6}, {1, 3}, {0, 2}},  {{11, 6}, {1, 5}, {0, 1}},   {{9, 5}, {1, 7}, {0, 3}},
    {{9, 5}, {1, 11}, {0, 0}},  {{23, 9}, {7, 7}, {3, 3}},   {{15, 6}, {3, 5}, {2, 4}},
    {{15, 6}, {7, 1}, {0, 0}},  {{15, 6}, {9, 3}, {8, 1}},   {{15, 6}, {5, 3}, {1, 2}},
    {{1, 1}, {5, 5}, {2, 2}},   {{1, 1}, {9, 9}, {4, 4}},    {{1, 1}, {1, 9}, {0, 8}},
};

TEST(MedianFilter, MatchesSortedWindowsOnRandomImages) {
  std::uint32_t seed = 20;
  for (const auto& c : kCases) {
    TightSource src(c.roi, Reach::ofMask(c.mask, c.anchor), 4, seed++);
    expectMedians(c, src, seed++);
  }
}

// Few distinct values make long runs of equal counts: the histogram's median
// has to step over empty and crowded bins alike.
TEST(MedianFilter, MatchesSortedWindowsWithManyTies) {
  std::mt19937 rng(30);
  const Ipp8u levels[] = {0, 1, 2, 128, 254, 255};
  std::uint32_t seed = 31;
  for (const auto& c : kCases) {
    TightSource src(c.roi, Reach::ofMask(c.mask, c.anchor), 0, seed++);
    src.fill([&] { return levels[rng() % 6]; });
    expectMedians(c, src, seed++);
  }
}

TEST(MedianFilter, RejectsEvenMasksAndOutsideAnchorsWritingNothing) {
  const fc::test::ValidCall a;

  EXPECT_EQ(ippiFilterMedian_8u_C3R(a.src, a.srcStep, a.dst, a.dstStep, a.roi, {2, 3}, {0, 0}), ippStsMaskSizeErr);
  EXPECT_EQ(ippiFilterMedian_8u_C3R(a.src, a.srcStep, a.dst, a.dstStep, a.roi, {3, 4}, {0, 0}), ippStsMaskSizeErr);
  EXPECT_EQ(ippiFilterMedian_8u_C3R(a.src, a.srcStep, a.dst, a.dstStep, a.roi, {0, 3}, {0, 0}), ippStsMaskSizeErr);
  EXPECT_EQ(ippiFilterMedian_8u_C3R(a.src, a.srcStep, a.dst, a.dstStep, a.roi, {-3, 3}, {0, 0}), ippStsMaskSizeErr);
  EXPECT_EQ(ippiFilterMedian_8u_C3R(a.src, a.srcStep, a.dst, a.dstStep, a.roi, {2, 3}, {5, 5}), ippStsMaskSizeErr);
  EXPECT_EQ(ippiFilterMedian_8u_C3R(a.src, a.srcStep, a.dst, a.dstStep, a.roi, {3, 3}, {3, 0}), ippStsAnchorErr);
  EXPECT_EQ(ippiFilterMedian_8u_C3R(a.src, a.srcStep, a.dst, a.dstStep, a.roi, {3, 3}, {0, -1}), ippStsAnchorErr);

  EXPECT_EQ(ippiFilterMedian_8u_C3R(nullptr, a.srcStep, a.dst, a.dstStep, a.roi, {3, 3}, {1, 1}), ippStsNullPtrErr);
  EXPECT_EQ(ippiFilterMedian_8u_C3R(a.src, 0, a.dst, a.dstStep, {0, 3}, {3, 3}, {1, 1}), ippStsSizeErr);
  EXPECT_EQ(ippiFilterMedian_8u_C3R(a.src, a.srcStep, a.dst, -1, a.roi, {3, 3}, {1, 1}), ippStsStepErr);
  EXPECT_TRUE(a.nothingWritten());
}

}  // namespace
