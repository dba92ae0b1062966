// Every published variant of the rank filters against px: random images,
// odd widths, padded steps, regions inside larger images, one-pixel regions.
#include <gtest/gtest.h>

#include <string>

#include "tests/primitives/filters/rank_test_support.h"
#include "tests/support/entry_variants.h"

namespace {

using fc::test::Reach;
using fc::test::TightSource;

const IppiSize kRegions[] = {{1, 1}, {7, 3}, {65, 4}, {131, 2}};

struct MaskCase {
  IppiSize mask;
  IppiPoint anchor;
};

const MaskCase kMasks[] = {{{1, 1}, {0, 0}}, {{3, 3}, {1, 1}}, {{5, 5}, {0, 4}}, {{3, 1}, {2, 0}},
                           {{1, 5}, {0, 2}}, {{1, 7}, {0, 6}}, {{7, 7}, {3, 3}}, {{9, 3}, {4, 1}}};

/// t7 variants may use AVX2, which this processor may lack.
bool runsHere(const std::string& tag) { return tag != "t7" || __builtin_cpu_supports("avx2"); }

template <typename Variants, typename Call>
void expectVariantsEqualPx(const Variants& variants, IppiSize roi, Reach reach, std::uint32_t seed,
                           Call call) {
  const TightSource src(roi, reach, 3, seed);
  auto reference = fc::test::guardedDestination(roi, seed + 1);
  ASSERT_EQ(variants.front().tag, "px");
  ASSERT_EQ(call(variants.front().fn, src, reference), ippStsNoErr);
  for (const auto& variant : variants) {
    if (!runsHere(variant.tag)) continue;
    SCOPED_TRACE(variant.tag);
    auto dst = fc::test::guardedDestination(roi, seed + 1);
    ASSERT_EQ(call(variant.fn, src, dst), ippStsNoErr);
    EXPECT_EQ(dst.bytes, reference.bytes);
  }
}

template <typename Variants>
void checkMaskedEntry(const Variants& variants, bool oddMasksOnly) {
  std::uint32_t seed = 70;
  for (const auto& m : kMasks) {
    if (oddMasksOnly && (m.mask.width % 2 == 0 || m.mask.height % 2 == 0)) continue;
    for (IppiSize roi : kRegions) {
      SCOPED_TRACE(testing::Message() << "mask " << m.mask.width << "x" << m.mask.height << " width " << roi.width);
      expectVariantsEqualPx(variants, roi, Reach::ofMask(m.mask, m.anchor), seed += 2,
                            [&](auto fn, const TightSource& src, fc::test::TestImage& dst) {
                              return fn(src.region(), src.step(), dst.data(), dst.step, roi, m.mask, m.anchor);
                            });
    }
  }
}

template <typename Variants>
void checkCodedEntry(const Variants& variants) {
  std::uint32_t seed = 90;
  for (int mask : {ippMskSize3x3, ippMskSize5x5}) {
    for (IppiSize roi : kRegions) {
      SCOPED_TRACE(testing::Message() << "mask " << mask << " width " << roi.width);
      expectVariantsEqualPx(variants, roi, Reach::centred(mask == ippMskSize5x5 ? 2 : 1), seed += 2,
                            [&](auto fn, const TightSource& src, fc::test::TestImage& dst) {
                              return fn(src.region(), src.step(), dst.data(), dst.step, roi, mask);
                            });
    }
  }
}

TEST(RankFilterVariants, BoxEqualsPx) { checkMaskedEntry(fc::test::variantsOf_ippiFilterBox_8u_C3R(), false); }
TEST(RankFilterVariants, MinEqualsPx) { checkMaskedEntry(fc::test::variantsOf_ippiFilterMin_8u_C3R(), false); }
TEST(RankFilterVariants, MaxEqualsPx) { checkMaskedEntry(fc::test::variantsOf_ippiFilterMax_8u_C3R(), false); }
TEST(RankFilterVariants, MedianEqualsPx) { checkMaskedEntry(fc::test::variantsOf_ippiFilterMedian_8u_C3R(), true); }
TEST(RankFilterVariants, CrossMedianEqualsPx) { checkCodedEntry(fc::test::variantsOf_ippiFilterMedianCross_8u_C3R()); }
TEST(RankFilterVariants, ColorMedianEqualsPx) { checkCodedEntry(fc::test::variantsOf_ippiFilterMedianColor_8u_C3R()); }

}  // namespace
