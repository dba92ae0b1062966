#include <cmath>
#include <numbers>

#include "tests/primitives/color/point_test_support.h"

namespace {

using fc::test::TestImage;

TEST(Jaehne, OnePixelIsTheMidValue) {
  TestImage image(1, 1, 3, 2, 1);
  ASSERT_EQ(ippiImageJaehne_8u_C3R(image.data(), image.step, image.size()), 0);
  TestImage expected(1, 1, 3, 2, 1);
  std::fill_n(expected.data(), 3, 127);
  EXPECT_EQ(image.bytes, expected.bytes);
}

TEST(Jaehne, RingsDependOnTheHeightOnlyAndFillAllThreeBytes) {
  TestImage image(7, 5, 3, 5, 1);
  image.randomize(51);
  TestImage expected = image;
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) {
      const double d2 = (x - 3.0) * (x - 3.0) + (y - 2.0) * (y - 2.0);
      const auto v = static_cast<Ipp8u>((std::sin(2 * std::numbers::pi * d2 / 20.0) + 1) * 127.99999);
      std::fill_n(expected.at(x, y), 3, v);
    }
  ASSERT_EQ(ippiImageJaehne_8u_C3R(image.data(), image.step, image.size()), 0);
  EXPECT_EQ(image.bytes, expected.bytes);
  EXPECT_EQ(image.at(3, 1)[0], 167);  // d2 = 1: (sin(pi / 10) + 1) * 128, truncated
}

TEST(Jaehne, ChecksPointerThenStepThenSize) {
  TestImage image(2, 2, 3);
  EXPECT_EQ(ippiImageJaehne_8u_C3R(nullptr, 0, {0, 0}), ippStsNullPtrErr);
  EXPECT_EQ(ippiImageJaehne_8u_C3R(image.data(), 0, {0, 0}), ippStsStepErr);
  EXPECT_EQ(ippiImageJaehne_8u_C3R(image.data(), 6, {2, -2}), ippStsSizeErr);
  EXPECT_EQ(image.bytes, std::vector<Ipp8u>(image.bytes.size(), 0));
}

}  // namespace
