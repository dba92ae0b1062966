#include <gtest/gtest.h>

#include <algorithm>

#include "dispatch/primitives.h"
#include "tests/primitives/filters/rank_test_support.h"

namespace {

using fc::test::Reach;
using fc::test::TightSource;

using RankFilter = IppStatus (*)(const Ipp8u*, int, Ipp8u*, int, IppiSize, IppiSize, IppiPoint);

struct Extreme {
  const char* name;
  RankFilter entry;
  bool minimum;
};

const Extreme kExtremes[] = {{"min", ippiFilterMin_8u_C3R, true}, {"max", ippiFilterMax_8u_C3R, false}};

struct MaskCase {
  IppiSize roi;
  IppiSize mask;
  IppiPoint anchor;
};

TEST(MinMaxFilter, MatchesWindowExtremesOnRandomImages) {
  const MaskCase cases[] = {
      {{13, 7}, {1, 1}, {0, 0}}, {{13, 7}, {2, 2}, {0, 0}}, {{11, 9}, {3, 3}, {0, 2}},
      {{17, 8}, {5, 5}, {2, 2}}, {{9, 6}, {1, 4}, {0, 1}},  {{9, 6}, {7, 1}, {6, 0}},
      {{7, 5}, {4, 6}, {3, 5}},  {{1, 1}, {5, 5}, {4, 4}},  {{40, 3}, {33, 2}, {16, 1}},
  };
  std::uint32_t seed = 10;
  for (const auto& filter : kExtremes) {
    for (const auto& c : cases) {
      SCOPED_TRACE(testing::Message() << filter.name << " mask " << c.mask.width << "x" << c.mask.height);
      const TightSource src(c.roi, Reach::ofMask(c.mask, c.anchor), 7, seed++);
      auto dst = fc::test::guardedDestination(c.roi, seed++);
      const auto expected = fc::test::expectedImage(dst, [&](int x, int y, int ch) {
        const auto values = fc::test::windowValues(src, x, y, ch, c.mask, c.anchor);
        const auto [low, high] = std::minmax_element(values.begin(), values.end());
        return static_cast<Ipp8u>(filter.minimum ? *low : *high);
      });
      ASSERT_EQ(filter.entry(src.region(), src.step(), dst.data(), dst.step, c.roi, c.mask, c.anchor),
                ippStsNoErr);
      EXPECT_EQ(dst.bytes, expected.bytes);
    }
  }
}

TEST(MinMaxFilter, ChecksSizeBeforeStepsAndWritesNothingOnError) {
  const fc::test::ValidCall a;
  const IppiSize mask{3, 3};
  for (const auto& filter : kExtremes) {
    SCOPED_TRACE(filter.name);
    EXPECT_EQ(filter.entry(nullptr, a.srcStep, a.dst, a.dstStep, a.roi, mask, {1, 1}), ippStsNullPtrErr);
    EXPECT_EQ(filter.entry(a.src, a.srcStep, nullptr, a.dstStep, a.roi, mask, {1, 1}), ippStsNullPtrErr);
    EXPECT_EQ(filter.entry(a.src, 0, a.dst, a.dstStep, {0, 3}, mask, {1, 1}), ippStsSizeErr);
    EXPECT_EQ(filter.entry(a.src, a.srcStep, a.dst, a.dstStep, {4, -1}, mask, {1, 1}), ippStsSizeErr);
    EXPECT_EQ(filter.entry(a.src, a.srcStep, a.dst, 0, a.roi, mask, {1, 1}), ippStsStepErr);
    EXPECT_EQ(filter.entry(a.src, a.srcStep, a.dst, a.dstStep, a.roi, {3, 0}, {0, 0}), ippStsMaskSizeErr);
    EXPECT_EQ(filter.entry(a.src, a.srcStep, a.dst, a.dstStep, a.roi, mask, {1, 3}), ippStsAnchorErr);
    EXPECT_EQ(filter.entry(a.src, a.srcStep, a.dst, a.dstStep, a.roi, mask, {-1, 1}), ippStsAnchorErr);
  }
  EXPECT_TRUE(a.nothingWritten());
}

}  // namespace
