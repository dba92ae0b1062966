// Every published variant of the resize entries writes px's bytes.
#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <vector>

#include "tests/primitives/geometry/resize_call.h"
#include "tests/support/entry_variants.h"

namespace fc::test {
namespace {

struct Shape {
  int srcWidth, srcHeight;
  TFCImageRect roi;
  double xFactor, yFactor;
};

// Odd sizes, regions inside and at the edges of larger images, 1-pixel
// regions, rectangles reaching past the image, and factors both ways.
constexpr Shape kShapes[] = {
    {37, 29, {5, 3, 23, 19}, 1.37, 0.71},  {37, 29, {0, 0, 37, 29}, 0.43, 0.61},
    {37, 29, {30, 20, 40, 40}, 2.3, 3.1},  {19, 23, {18, 22, 1, 1}, 3.0, 2.0},
    {9, 11, {0, 0, 9, 11}, 0.5, 0.5},      {64, 9, {7, 1, 50, 7}, 0.66667, 0.9},
    {5, 40, {1, 0, 3, 40}, 1.9, 0.25},     {40, 40, {3, 5, 31, 29}, 1.0, 1.0},
};

constexpr int kModes[] = {IPPI_INTER_NN, IPPI_INTER_LINEAR, IPPI_INTER_CUBIC, IPPI_INTER_SUPER,
                          IPPI_INTER_LANCZOS};

/// The fixed shapes, then random ones: sizes up to 90, regions anywhere in
/// the image (possibly reaching past it), factors from 0.1 to 4.
std::vector<Shape> shapes() {
  std::vector<Shape> all(std::begin(kShapes), std::end(kShapes));
  std::mt19937 rng(41);
  const auto between = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(rng);
  };
  const auto factor = [&] { return std::uniform_real_distribution<double>(0.1, 4.0)(rng); };
  for (int i = 0; i < 60; ++i) {
    Shape s{between(1, 90), between(1, 90), {}, factor(), factor()};
    s.roi = {between(0, s.srcWidth - 1), between(0, s.srcHeight - 1), between(1, 90), between(1, 90)};
    all.push_back(s);
  }
  return all;
}

template <typename Variants>
void expectVariantsMatchPx(const Variants& variants, int channels) {
  for (const Shape& shape : shapes())
    for (int mode : kModes) {
      SCOPED_TRACE(testing::Message() << "channels " << channels << " mode " << mode << " shape "
                                      << shape.srcWidth << "x" << shape.srcHeight << " factors "
                                      << shape.xFactor << "," << shape.yFactor);
      TestImage src(shape.srcWidth, shape.srcHeight, channels, 3, 2);
      src.randomize(31);
      const ResizeCall call{shape.roi, shape.xFactor, shape.yFactor, mode};
      TestImage expected(101, 97, channels, 5, 2);
      expected.randomize(32);
      TestImage actual = expected;
      const IppStatus expectedStatus = call.run(pxResizeFor(channels), src, expected);
      for (const auto& variant : variants) {
        SCOPED_TRACE(variant.tag);
        TestImage out = actual;
        EXPECT_EQ(call.run(variant.fn, src, out), expectedStatus);
        EXPECT_EQ(out.bytes, expected.bytes);
      }
    }
}

TEST(ResizeVariants, ThreeChannelVariantsMatchPx) {
  expectVariantsMatchPx(variantsOf_ippiResize_8u_C3R(), 3);
}

TEST(ResizeVariants, OneChannelVariantsMatchPx) {
  expectVariantsMatchPx(variantsOf_ippiResize_8u_C1R(), 1);
}

}  // namespace
}  // namespace fc::test
