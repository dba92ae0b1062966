#include <cmath>
#include <limits>
#include <random>

#include "tests/primitives/color/point_test_support.h"
#include "tests/support/entry_variants.h"

namespace {

using fc::test::rowImage;

// Twist of one row: each output channel c is row c of the matrix.
std::vector<Ipp8u> twistRow(const Ipp32f twist[3][4], const std::vector<Ipp8u>& bytes,
                            decltype(ippiColorTwist32f_8u_C3R) fn = ippiColorTwist32f_8u_C3R) {
  const fc::test::TestImage src = rowImage(bytes);
  fc::test::TestImage dst = rowImage(std::vector<Ipp8u>(bytes.size(), 99));
  EXPECT_EQ(fn(src.data(), src.step, dst.data(), dst.step, src.size(), twist), 0);
  return dst.bytes;
}

TEST(ColorTwist, RoundsHalvesToEvenAndSaturates) {
  const Ipp32f offsets[3][4] = {{0, 0, 0, 2.5f}, {0, 0, 0, 3.5f}, {0, 0, 0, -0.3f}};
  EXPECT_EQ(twistRow(offsets, {1, 2, 3}), (std::vector<Ipp8u>{2, 4, 0}));
  const Ipp32f scaled[3][4] = {{0.5f, 0, 0, 0}, {0, 0.5f, 0, 0}, {0, 0, 1.5f, 0.7f}};
  EXPECT_EQ(twistRow(scaled, {5, 7, 200, 255, 255, 1}), (std::vector<Ipp8u>{2, 4, 255, 128, 128, 2}));
  // Just off a half: only extended precision tells these from ties.
  const Ipp32f nearHalf[3][4] = {{2.5f, 0, 0, -0x1p-60f}, {2.5f, 0, 0, 0x1p-60f}, {0, 0, 0, 0}};
  EXPECT_EQ(twistRow(nearHalf, {1, 1, 1}), (std::vector<Ipp8u>{2, 3, 0}));
  const Ipp32f big[3][4] = {{1, 1, 1, 45.7f}, {-1, 0, 0, 0}, {0, 0, 0, 254.5f}};
  EXPECT_EQ(twistRow(big, {100, 100, 55}), (std::vector<Ipp8u>{255, 0, 254}));
}

// The defined arithmetic written out independently: extended-precision sums
// in the fixed order, saturation, then the nearest integer with ties to even.
Ipp8u referenceChannel(const Ipp32f row[4], const Ipp8u* pixel) {
  long double d = static_cast<long double>(row[0]) * pixel[0] + row[3];
  d += static_cast<long double>(row[1]) * pixel[1];
  d += static_cast<long double>(row[2]) * pixel[2];
  return d >= 255 ? 255 : d <= 0 ? 0 : static_cast<Ipp8u>(std::nearbyint(d));
}

// Coefficients that often make exact or nearly exact halves, and ordinary ones.
Ipp32f randomCoefficient(std::mt19937& rng, float scale) {
  std::uniform_real_distribution<float> any(-scale, scale);
  switch (rng() % 4) {
    case 0:
      return std::round(any(rng) * 8) / 8;
    case 1:
      return std::round(any(rng) * 8) / 8 +
             std::ldexp(1.0f, -40 - static_cast<int>(rng() % 30)) * (rng() % 2 ? 1 : -1);
    default:
      return any(rng);
  }
}

TEST(ColorTwist, EveryVariantFollowsTheExtendedPrecisionRuleOnRandomMatrices) {
  std::mt19937 rng(61);
  for (int trial = 0; trial < 300; ++trial) {
    Ipp32f twist[3][4];
    for (auto& row : twist) {
      for (int k = 0; k < 3; ++k) row[k] = randomCoefficient(rng, 2.0f);
      row[3] = randomCoefficient(rng, 300.0f);
    }
    std::vector<Ipp8u> bytes(3 * 40);
    for (auto& b : bytes) b = static_cast<Ipp8u>(rng() % 4 == 0 ? 2 * (rng() % 4) + 1 : rng());
    for (const auto& variant : fc::test::variantsOf_ippiColorTwist32f_8u_C3R()) {
      const std::vector<Ipp8u> out = twistRow(twist, bytes, variant.fn);
      for (std::size_t i = 0; i < bytes.size(); ++i)
        ASSERT_EQ(out[i], referenceChannel(twist[i % 3], &bytes[i - i % 3]))
            << variant.tag << trial << " " << i;
    }
  }
}

// Every (s0, s1) pair with a few s2, in rows long enough for the vector
// runs, on matrices whose sums land on or within a hair of halves: exact
// halves from 0.5 coefficients (decided by single sums alone), halves missed
// by less than the single-precision error, and an ordinary mix.
TEST(ColorTwist, EveryVariantDecidesSumsAtAndNearHalvesOverAllPairs) {
  const Ipp32f matrices[][3][4] = {
      {{0.5f, 0.5f, 0, 0}, {0.25f, -0.75f, 0.5f, 128.5f}, {1.5f, 0, -0.5f, 0.5f}},
      {{0.5f + 0x1p-22f, 0.5f, 0, 0}, {0.5f, 0, 0, 0.5f - 0x1p-20f}, {0.1f, 0.2f, 0.3f, 0.5f}},
      {{0.299f, 0.587f, 0.114f, 0}, {-0.169f, -0.331f, 0.5f, 128}, {0.5f, -0.419f, -0.081f, 128}},
  };
  std::vector<Ipp8u> bytes;
  for (int s2 : {0, 1, 128, 255})
    for (int s0 = 0; s0 < 256; ++s0)
      for (int s1 = 0; s1 < 256; ++s1) bytes.insert(bytes.end(), {Ipp8u(s0), Ipp8u(s1), Ipp8u(s2)});
  for (const auto& twist : matrices) {
    for (const auto& variant : fc::test::variantsOf_ippiColorTwist32f_8u_C3R()) {
      const std::vector<Ipp8u> out = twistRow(twist, bytes, variant.fn);
      for (std::size_t i = 0; i < bytes.size(); ++i)
        ASSERT_EQ(out[i], referenceChannel(twist[i % 3], &bytes[i - i % 3])) << variant.tag << " " << i;
    }
  }
}

// Matrices whose sums often land within a hair of a half, on rows long
// enough for every step of the vector runs, twisted in place: decimal
// coefficients (exact decimal halves the binary sums miss by a little), a
// row whose double sums are not exact, and halves mixed with decimals.
TEST(ColorTwist, EveryVariantTwistsLongRowsInPlace) {
  const Ipp32f matrices[][3][4] = {
      {{0.299f, 0.587f, 0.114f, 0}, {-0.169f, -0.331f, 0.5f, 128}, {0.5f, -0.419f, -0.081f, 128}},
      {{0.5f, 0x1.000002p-30f, 0, 0}, {0.31f, -0.3f, 0.7f, 0.03f}, {1.5f, -0.5f, 0.25f, -20}},
      {{0.5f, 0.5f, 0, 0}, {0.2f, 0.2f, 0.2f, 0.02f}, {0, 0, 1, 0}},
  };
  std::mt19937 rng(5);
  fc::test::TestImage original(301, 4, 3, 5, 0);
  for (auto& b : original.bytes) b = static_cast<Ipp8u>(rng() % 3 == 0 ? rng() % 8 : rng());
  const auto bytesAt = [](fc::test::TestImage& image, int y) { return image.at(0, y); };
  for (const auto& twist : matrices) {
    for (const auto& variant : fc::test::variantsOf_ippiColorTwist32f_8u_C3R()) {
      fc::test::TestImage image = original;
      ASSERT_EQ(variant.fn(image.data(), image.step, image.data(), image.step, image.size(), twist), 0);
      for (int y = 0; y < image.height; ++y)
        for (int i = 0; i < 3 * image.width; ++i) {
          const Ipp8u* pixel = bytesAt(original, y) + i - i % 3;
          ASSERT_EQ(bytesAt(image, y)[i], referenceChannel(twist[i % 3], pixel))
              << variant.tag << " " << y << " " << i;
        }
    }
  }
}

// Rows of several batches of steps, inside a larger image: the undecided
// steps noted in each batch are done again from their own source bytes,
// also when the twist runs in place, and nothing outside the region moves.
TEST(ColorTwist, EveryVariantRedoesUndecidedStepsOfLongRowsInsideTheRegion) {
  const Ipp32f matrices[][3][4] = {
      {{0.299f, 0.587f, 0.114f, 0}, {-0.169f, -0.331f, 0.5f, 128}, {0.5f, -0.419f, -0.081f, 128}},
      {{0.5f, 0x1.000002p-30f, 0, 0}, {0.31f, -0.3f, 0.7f, 0.03f}, {0.7f, 0.2f, 0.1f, 0}},
  };
  fc::test::TestImage original(1107, 2, 3, 7, 2);
  original.randomize(23);
  for (const auto& twist : matrices) {
    for (const auto& variant : fc::test::variantsOf_ippiColorTwist32f_8u_C3R()) {
      for (const bool inPlace : {false, true}) {
        fc::test::TestImage image = original, out = original;
        fc::test::TestImage& dst = inPlace ? image : out;
        ASSERT_EQ(variant.fn(image.data(), image.step, dst.data(), dst.step, image.size(), twist), 0);
        for (std::size_t i = 0; i < dst.bytes.size(); ++i) {
          const std::size_t row = i / dst.step, column = i % dst.step;
          const bool inside = row >= 2 && row < 4 && column >= 6 && column < 6 + 3 * 1107;
          const std::size_t channel = inside ? (column - 6) % 3 : 0;
          const Ipp8u expected =
              inside ? referenceChannel(twist[channel], &original.bytes[i - channel]) : original.bytes[i];
          ASSERT_EQ(dst.bytes[i], expected) << variant.tag << " " << inPlace << " " << row << " " << column;
        }
      }
    }
  }
}

TEST(ColorTwist, NanCoefficientsGiveZero) {
  const Ipp32f nan = std::numeric_limits<Ipp32f>::quiet_NaN();
  const Ipp32f twist[3][4] = {{nan, 0, 0, 0}, {0, 0, 0, nan}, {1, 0, 0, 0}};
  EXPECT_EQ(twistRow(twist, {9, 8, 7}), (std::vector<Ipp8u>{0, 0, 9}));
}

TEST(ColorTwist, ReadsEachPixelBeforeWritingItInPlace) {
  const Ipp32f swap[3][4] = {{0, 0, 1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}};
  fc::test::TestImage image = rowImage({1, 2, 3, 4, 5, 6});
  ASSERT_EQ(ippiColorTwist32f_8u_C3R(image.data(), image.step, image.data(), image.step, image.size(), swap),
            0);
  EXPECT_EQ(image.bytes, (std::vector<Ipp8u>{3, 2, 1, 6, 5, 4}));
}

TEST(ColorTwist, ChecksArgumentsInOrderAndWritesNothing) {
  const Ipp32f identity[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
  fc::test::expectTwoImageChecks([&](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize roi) {
    return ippiColorTwist32f_8u_C3R(s, ss, d, ds, roi, identity);
  });
  fc::test::TestImage image(2, 2, 3);
  EXPECT_EQ(ippiColorTwist32f_8u_C3R(image.data(), 0, image.data(), 0, {0, 0}, nullptr), ippStsNullPtrErr);
}

}  // namespace
