#include "primitives/color/color_twist_fixed_point.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

namespace {

using fc::primitives::planFixedRow;
using fc::primitives::shareScaleAndMargin;
using fc::primitives::TwistFixedRow;

long double extendedSum(const Ipp32f row[4], const int s[3]) {
  long double d = static_cast<long double>(row[0]) * s[0] + row[3];
  d += static_cast<long double>(row[1]) * s[1];
  d += static_cast<long double>(row[2]) * s[2];
  return d;
}

std::int64_t integerSum(const TwistFixedRow& plan, const int s[3]) {
  return std::int64_t{plan.q[0]} * s[0] + std::int64_t{plan.q[1]} * s[1] + std::int64_t{plan.q[2]} * s[2] +
         plan.q[3];
}

/// Checks the integer sum against the extended one for one pixel: closer
/// than the margin (equal for exact rows), and the rounded sum Q + 2^(shift-1)
/// + margin inside the 32-bit range.
void expectWithinMargin(const Ipp32f row[4], const TwistFixedRow& plan, const int s[3]) {
  const std::int64_t q = integerSum(plan, s);
  const long double scaled = std::ldexp(extendedSum(row, s), plan.shift);
  const long double distance = std::fabs(static_cast<long double>(q) - scaled);
  if (plan.exact)
    EXPECT_EQ(distance, 0.0L) << row[0] << " " << row[1] << " " << row[2] << " " << row[3];
  else
    EXPECT_LT(distance, static_cast<long double>(plan.margin)) << row[0] << " " << row[1] << " " << row[2];
  const std::int64_t rounded = q + (std::int64_t{1} << (plan.shift - 1)) + plan.margin;
  EXPECT_LE(rounded, std::numeric_limits<std::int32_t>::max());
  EXPECT_GE(rounded, std::numeric_limits<std::int32_t>::min());
}

TEST(TwistFixedRow, CoefficientsOnABinaryGridAreExact) {
  const Ipp32f rows[][4] = {{0.5f, 0.25f, -3, 128.5f}, {1, 0, 0, 0}, {0.125f, -0.5f, 0.375f, -0.75f}};
  for (const auto& row : rows) {
    const TwistFixedRow plan = planFixedRow(row);
    ASSERT_TRUE(plan.usable);
    EXPECT_TRUE(plan.exact);
    EXPECT_EQ(plan.margin, 0);
  }
  const Ipp32f decimal[4] = {0.299f, 0.587f, 0.114f, 0};
  const TwistFixedRow plan = planFixedRow(decimal);
  ASSERT_TRUE(plan.usable);
  EXPECT_FALSE(plan.exact);
  EXPECT_GT(plan.shift, 20);  // a fine scale: few sums are left undecided
}

// Random rows of every magnitude, at the corners of the pixel cube (where
// the error and the range are largest) and at random pixels.
TEST(TwistFixedRow, IntegerSumsStayWithinTheMarginOfTheExtendedSum) {
  std::mt19937 rng(17);
  std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
  int usable = 0;
  for (int trial = 0; trial < 2000; ++trial) {
    Ipp32f row[4];
    const int magnitude = static_cast<int>(rng() % 12) - 6;
    for (int k = 0; k < 3; ++k) row[k] = std::ldexp(unit(rng), magnitude - static_cast<int>(rng() % 4));
    row[3] = rng() % 3 == 0 ? 0.0f : unit(rng) * static_cast<float>(1 << (rng() % 12));
    if (rng() % 4 == 0) row[rng() % 4] = std::round(row[0] * 64) / 64;
    const TwistFixedRow plan = planFixedRow(row);
    if (!plan.usable) continue;
    ++usable;
    for (int corner = 0; corner < 8; ++corner) {
      const int s[3] = {corner & 1 ? 255 : 0, corner & 2 ? 255 : 0, corner & 4 ? 255 : 0};
      expectWithinMargin(row, plan, s);
    }
    for (int i = 0; i < 20; ++i) {
      const int s[3] = {static_cast<int>(rng() & 255), static_cast<int>(rng() & 255), static_cast<int>(rng() & 255)};
      expectWithinMargin(row, plan, s);
    }
  }
  EXPECT_GT(usable, 1500);
}

// A row whose sums nearly fill the 32-bit range beside rows that need a
// larger margin: sharing the margin must plan it again at a smaller scale
// rather than let Q + 2^(shift-1) + margin overflow.
TEST(TwistFixedRow, ASharedScaleAndMarginKeepEveryRowInRange) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<float> nearLimit(1.00190f, 1.001961f), decimal(0.2f, 0.4f);
  int replanned = 0;
  for (int trial = 0; trial < 2000; ++trial) {
    const Ipp32f twist[3][4] = {
        {nearLimit(rng), 1e-7f, 0, 0}, {decimal(rng), decimal(rng), decimal(rng), 0}, {0.5f, 0, 0, 0}};
    TwistFixedRow plans[3] = {planFixedRow(twist[0]), planFixedRow(twist[1]), planFixedRow(twist[2])};
    const int alone = plans[0].shift;
    TwistFixedRow* shared[3] = {&plans[0], &plans[1], &plans[2]};
    shareScaleAndMargin(twist, shared);
    if (plans[0].shift != alone) ++replanned;
    ASSERT_TRUE(plans[0].usable && plans[1].usable && plans[2].usable);
    EXPECT_TRUE(plans[1].shift == plans[0].shift && plans[2].shift == plans[0].shift);
    for (const TwistFixedRow& plan : plans) EXPECT_EQ(plan.margin, plan.exact ? 0 : plans[0].margin);
    for (int c = 0; c < 3; ++c)
      for (int corner = 0; corner < 8; ++corner) {
        const int s[3] = {corner & 1 ? 255 : 0, corner & 2 ? 255 : 0, corner & 4 ? 255 : 0};
        expectWithinMargin(twist[c], plans[c], s);
      }
  }
  EXPECT_GT(replanned, 0);
}

TEST(TwistFixedRow, RowsBeyondFixedPointAreRefused) {
  const Ipp32f nan = std::numeric_limits<Ipp32f>::quiet_NaN();
  const Ipp32f infinity = std::numeric_limits<Ipp32f>::infinity();
  const Ipp32f rows[][4] = {{nan, 0, 0, 0}, {0, 0, 0, infinity}, {1e9f, 0, 0, 0}, {0, 0, 1, 3e6f}};
  for (const auto& row : rows) EXPECT_FALSE(planFixedRow(row).usable) << row[0] << " " << row[3];
}

}  // namespace
