#include <algorithm>
#include <vector>

#include "tests/primitives/color/point_test_support.h"

namespace {

using fc::test::TestImage;

// Whole patterns worked out from the definition: odd sizes have a centre
// pixel (a single pixel is the mid value), even sizes mirror about a centre
// between pixels, and the rings scale with the height alone (6 x 2 and 2 x 6
// differ).
TEST(Jaehne, KnownPatternsOfOddAndEvenSizesFillAllThreeBytesOnly) {
  struct Known {
    int width, height;
    std::vector<int> values;  // row by row
  };
  const Known known[] = {
      {1, 1, {127}},
      {7, 5, {24,  203, 255, 249, 255, 203, 24,  127, 255, 203, 167, 203, 255, 127, 167, 249, 167, 127,
              167, 249, 167, 127, 255, 203, 167, 203, 255, 127, 24,  203, 255, 249, 255, 203, 24}},
      {4, 4, {253, 234, 234, 253, 234, 152, 152, 234, 234, 152, 152, 234, 253, 234, 234, 253}},
      {6, 2, {9, 246, 176, 176, 246, 9, 9, 246, 176, 176, 246, 9}},
      {2, 6, {254, 254, 205, 205, 144, 144, 144, 144, 205, 205, 254, 254}},
  };
  for (const Known& k : known) {
    TestImage image(k.width, k.height, 3, 5, 1);
    image.randomize(51);
    TestImage expected = image;
    for (int y = 0; y < k.height; ++y)
      for (int x = 0; x < k.width; ++x)
        std::fill_n(expected.at(x, y), 3, static_cast<Ipp8u>(k.values[y * k.width + x]));
    ASSERT_EQ(ippiImageJaehne_8u_C3R(image.data(), image.step, image.size()), 0);
    EXPECT_EQ(image.bytes, expected.bytes) << k.width << "x" << k.height;
  }
}

TEST(Jaehne, ChecksPointerThenStepThenSize) {
  TestImage image(2, 2, 3);
  EXPECT_EQ(ippiImageJaehne_8u_C3R(nullptr, 0, {0, 0}), ippStsNullPtrErr);
  EXPECT_EQ(ippiImageJaehne_8u_C3R(image.data(), 0, {0, 0}), ippStsStepErr);
  EXPECT_EQ(ippiImageJaehne_8u_C3R(image.data(), 6, {2, -2}), ippStsSizeErr);
  EXPECT_EQ(image.bytes, std::vector<Ipp8u>(image.bytes.size(), 0));
}

}  // namespace
