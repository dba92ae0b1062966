// The rate changer's byte blend against the double formula, pair by pair,
// on the fixed-point path and on the table path.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "components/rate_blend.h"

namespace fc {
namespace {

// Every pair once, previous in the high byte, then a ragged tail; the
// output starts one byte into its buffer so no store is aligned.
struct TAllPairs {
  TAllPairs() : previous(kCount), current(kCount), out(kCount + 1) {
    for (std::size_t i = 0; i < kCount; ++i) {
      previous[i] = static_cast<Ipp8u>(i >> 8);
      current[i] = static_cast<Ipp8u>(i * 7 + (i >> 8));
    }
  }
  static constexpr std::size_t kCount = 65536 + 37;
  std::vector<Ipp8u> previous, current, out;
};

void ExpectExact(TRateBlend& blend, TAllPairs& pairs, double w) {
  blend.Blend(pairs.previous.data(), pairs.current.data(), pairs.out.data() + 1, TAllPairs::kCount, w);
  for (std::size_t i = 0; i < TAllPairs::kCount; ++i)
    ASSERT_EQ(pairs.out[i + 1], TRateBlend::ExactByte(pairs.previous[i], pairs.current[i], w))
        << "weight " << w << ", previous " << int(pairs.previous[i]) << ", current " << int(pairs.current[i]);
}

TEST(RateBlend, EveryWeightGivesTheDoubleFormulasBytesOnBothPaths) {
  TRateBlend blend;
  TAllPairs pairs;
  std::vector<double> weights = {0.0, 1.0, 0.5, 0.4, 0.8, 0.2, 0.6, 1.0 / 3, 0.25, 0.999, 1e-9};
  for (int k = 1; k < 60; ++k) weights.push_back(std::fmod(k * 0.6180339887498949, 1.0));
  int fixed = 0, tabled = 0;
  // Twice through more weights than the blend keeps verdicts for.
  for (int round = 0; round < 2; ++round)
    for (double w : weights) {
      ExpectExact(blend, pairs, w);
      if (w > 0 && w < 1) (blend.UsesFixedPoint(w) ? fixed : tabled) += 1;
    }
  EXPECT_GT(fixed, 0);
  EXPECT_GT(tabled, 0) << "no weight came near enough to a half to need the table";
}

TEST(RateBlend, WeightsOutsideTheUnitRangeAreTabledAndNaNGivesBlack) {
  TRateBlend blend;
  TAllPairs pairs;
  EXPECT_FALSE(blend.UsesFixedPoint(std::nan("")));
  EXPECT_EQ(TRateBlend::ExactByte(200, 100, std::nan("")), 0);
  EXPECT_EQ(TRateBlend::ExactByte(200, 100, 2.0), 0);    // 200 (-1) + 100 * 2 = 0
  EXPECT_EQ(TRateBlend::ExactByte(100, 200, 2.0), 255);  // limited
  ExpectExact(blend, pairs, 1.5);
}

}  // namespace
}  // namespace fc
