// The values the resize kernels compute: identities, hand-worked results,
// mode reduction, and which source pixels each kernel reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/primitives/geometry/resize_call.h"
#include "tests/support/entry_variants.h"

namespace fc::test {
namespace {

constexpr int kAllModes[] = {IPPI_INTER_NN, IPPI_INTER_LINEAR, IPPI_INTER_CUBIC, IPPI_INTER_SUPER,
                             IPPI_INTER_LANCZOS};

/// Sets every sample of the image's region from value(x, y).
template <typename Value>
void fill(TestImage& image, Value value) {
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      for (int k = 0; k < image.channels; ++k) image.at(x, y)[k] = static_cast<Ipp8u>(value(x, y));
}

/// A region whose samples are `step` times their column, in a random border
/// that shows any read outside the image.
TestImage columnRamp(int width, int height, int channels, int step) {
  TestImage image(width, height, channels, 0, 2);
  image.randomize(static_cast<std::uint32_t>(width * 31 + height));
  fill(image, [step](int x, int) { return step * x; });
  return image;
}

/// Sample `channel` of destination row `y`, columns 0 .. width - 1.
std::vector<int> rowOf(TestImage& image, int y, int width, int channel = 0) {
  std::vector<int> row;
  for (int x = 0; x < width; ++x) row.push_back(image.at(x, y)[channel]);
  return row;
}

std::vector<int> columnOf(TestImage& image, int x, int height) {
  std::vector<int> column;
  for (int y = 0; y < height; ++y) column.push_back(image.at(x, y)[0]);
  return column;
}

TEST(ResizeKernels, FactorOneReproducesTheRectangle) {
  for (int channels : {1, 3}) {
    TestImage src(23, 17, channels, 5, 3);
    src.randomize(11);
    const TFCImageRect roi{3, 2, 15, 11};
    for (int mode : kAllModes) {
      SCOPED_TRACE(mode);
      TestImage dst(15, 11, channels, 2, 1);
      ASSERT_EQ((ResizeCall{roi, 1.0, 1.0, mode}.run(src, dst)), ippStsNoErr);
      for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 15; ++x)
          for (int k = 0; k < channels; ++k)
            ASSERT_EQ(dst.at(x, y)[k], src.at(roi.x + x, roi.y + y)[k]) << x << "," << y;
    }
  }
}

// Inside a random border, a constant region must stay constant: any weight
// that does not sum to one, or any tap outside the image, shows.
TEST(ResizeKernels, ConstantImageStaysConstant) {
  for (int channels : {1, 3}) {
    TestImage src(13, 11, channels, 3, 4);
    src.randomize(12);
    fill(src, [](int, int) { return 200; });
    for (int mode : kAllModes)
      for (double factor : {0.3, 0.6667, 0.5, 1.0, 1.7, 3.0}) {
        if (mode == IPPI_INTER_SUPER && factor > 1.0) continue;
        SCOPED_TRACE(testing::Message() << "mode " << mode << " factor " << factor);
        TestImage dst(40, 40, channels, 0, 0);
        ASSERT_EQ((ResizeCall{wholeOf(src), factor, factor, mode}.run(src, dst)), ippStsNoErr);
        const int written = static_cast<int>(11 * factor + 0.0000001);
        for (int y = 0; y < written; ++y)
          EXPECT_EQ(rowOf(dst, y, written, channels - 1), std::vector<int>(written, 200)) << y;
      }
  }
}

TEST(ResizeKernels, NearestMapsPixelCentres) {
  TestImage src = columnRamp(6, 4, 1, 10);
  TestImage dst(18, 4, 1, 0, 0);
  ASSERT_EQ((ResizeCall{wholeOf(src), 0.5, 1.0, IPPI_INTER_NN}.run(src, dst)), ippStsNoErr);
  EXPECT_EQ(rowOf(dst, 0, 3), (std::vector<int>{10, 30, 50}));
  ASSERT_EQ((ResizeCall{wholeOf(src), 3.0, 1.0, IPPI_INTER_NN}.run(src, dst)), ippStsNoErr);
  EXPECT_EQ(rowOf(dst, 0, 7), (std::vector<int>{0, 0, 0, 10, 10, 10, 20}));
}

// Every variant: enlarged rows repeat whole source rows and the columns
// stay the same down the image, at factors whose pixels share one source
// window and at ones where they lie too far apart; nothing outside the area
// is written.
TEST(ResizeKernels, NearestRepeatsWholeRowsAndColumnsInEveryVariant) {
  for (auto& variant : variantsOf_ippiResize_8u_C3R())
    for (double xFactor : {2.2, 0.66667, 0.21}) {
      TestImage src(97, 7, 3, 1, 0);
      fill(src, [](int, int) { return 0; });
      for (int y = 0; y < src.height; ++y)
        for (int x = 0; x < src.width; ++x) src.at(x, y)[0] = static_cast<Ipp8u>(x), src.at(x, y)[1] = static_cast<Ipp8u>(y);
      TestImage dst(230, 24, 3, 5, 2);
      dst.randomize(3);
      const std::vector<Ipp8u> before = dst.bytes;
      const int width = static_cast<int>(97 * xFactor + 1e-7), height = 23;
      ASSERT_EQ((ResizeCall{wholeOf(src), xFactor, 23.0 / 7, IPPI_INTER_NN, {width, height}}.run(variant.fn, src, dst)),
                ippStsNoErr);
      int previousRow = 0;
      for (int y = 0; y < height; ++y) {
        const int sourceRow = dst.at(0, y)[1];
        EXPECT_GE(sourceRow, previousRow) << variant.tag;
        previousRow = sourceRow;
        for (int x = 0; x < width; ++x) {
          EXPECT_EQ(dst.at(x, y)[0], dst.at(x, 0)[0]) << variant.tag << " " << x << "," << y;
          EXPECT_EQ(dst.at(x, y)[1], sourceRow) << variant.tag << " " << x << "," << y;
          EXPECT_EQ(dst.at(x, y)[2], 0) << variant.tag << " " << x << "," << y;
        }
      }
      EXPECT_EQ(previousRow, 6) << variant.tag;
      std::vector<Ipp8u> untouched = dst.bytes;
      for (int y = 0; y < height; ++y)
        std::copy_n(before.begin() + static_cast<std::ptrdiff_t>(dst.offset(0, y)), 3 * width,
                    untouched.begin() + static_cast<std::ptrdiff_t>(dst.offset(0, y)));
      EXPECT_EQ(untouched, before) << variant.tag;
    }
}

// One destination pixel from ten source columns: the centre of the
// destination pixel maps to the far edge of the rectangle, which must not
// be sampled; nor may supersampling count the missing half as black.
TEST(ResizeKernels, OnePixelFromAWideRowStaysInsideIt) {
  for (int channels : {1, 3}) {
    TestImage src = columnRamp(10, 4, channels, 10);
    TestImage dst(3, 4, channels, 0, 0);
    ASSERT_EQ((ResizeCall{wholeOf(src), 0.05, 1.0, IPPI_INTER_NN}.run(src, dst)), ippStsNoErr);
    EXPECT_EQ(columnOf(dst, 0, 4), std::vector<int>(4, 90));
    ASSERT_EQ((ResizeCall{wholeOf(src), 0.05, 0.5, IPPI_INTER_SUPER}.run(src, dst)), ippStsNoErr);
    EXPECT_EQ(columnOf(dst, 0, 2), std::vector<int>(2, 45));
  }
}

TEST(ResizeKernels, LinearWeightsAndRounding) {
  TestImage src = columnRamp(2, 2, 1, 100);
  TestImage dst(4, 2, 1, 0, 0);
  ASSERT_EQ((ResizeCall{wholeOf(src), 2.0, 1.0, IPPI_INTER_LINEAR}.run(src, dst)), ippStsNoErr);
  // Thirds of 100 in 14-bit weights, rounded through the 1/64 intermediate.
  EXPECT_EQ(rowOf(dst, 0, 4), (std::vector<int>{0, 33, 67, 100}));
  EXPECT_EQ(rowOf(dst, 1, 4), (std::vector<int>{0, 33, 67, 100}));
}

TEST(ResizeKernels, LinearUpscaleOfTwoColumnsEndsOnTheLastColumn) {
  for (int channels : {1, 3}) {
    TestImage src(2, 5, channels, 0, 1);
    src.randomize(16);
    for (double factor : {2.0, 2.5, 3.0, 3.5, 8.0}) {
      const int width = static_cast<int>(2 * factor);
      TestImage dst(width, 5, channels, 0, 0);
      ASSERT_EQ((ResizeCall{wholeOf(src), factor, 1.0, IPPI_INTER_LINEAR}.run(src, dst)),
                ippStsNoErr);
      for (int y = 0; y < 5; ++y)
        for (int k = 0; k < channels; ++k) {
          EXPECT_EQ(dst.at(0, y)[k], src.at(0, y)[k]);
          EXPECT_EQ(dst.at(width - 1, y)[k], src.at(1, y)[k]) << factor;
        }
    }
  }
}

// Linear and cubic both reproduce a ramp; at half-pixel positions the value
// k + 0.5 rounds up. Along rows the rows are interpolated one by one, down
// columns the cached interpolated rows are combined.
TEST(ResizeKernels, LinearAndCubicFollowARampBothWays) {
  std::vector<int> expected;
  for (int c = 0; c < 15; ++c) expected.push_back((3 * c + 1) / 2);
  for (int mode : {IPPI_INTER_LINEAR, IPPI_INTER_CUBIC}) {
    SCOPED_TRACE(mode);
    TestImage across = columnRamp(8, 8, 3, 3);
    TestImage dst(15, 15, 3, 0, 0);
    // 8 * 1.875 = 15 columns: positions 0, 0.5, 1 ... 7.
    ASSERT_EQ((ResizeCall{wholeOf(across), 1.875, 1.0, mode}.run(across, dst)), ippStsNoErr);
    EXPECT_EQ(rowOf(dst, 4, 15, 1), expected);

    TestImage down(8, 8, 3, 0, 2);
    down.randomize(18);
    fill(down, [](int, int y) { return 3 * y; });
    ASSERT_EQ((ResizeCall{wholeOf(down), 1.0, 1.875, mode}.run(down, dst)), ippStsNoErr);
    EXPECT_EQ(columnOf(dst, 5, 15), expected);
  }
}

TEST(ResizeKernels, SupersamplingAveragesWholeBlocks) {
  for (int channels : {1, 3}) {
    TestImage src(12, 9, channels, 1, 2);
    src.randomize(19);
    for (int block : {2, 3}) {
      SCOPED_TRACE(block);
      const double factor = 1.0 / block;
      TestImage dst(12 / block, 9 / block, channels, 0, 0);
      ASSERT_EQ((ResizeCall{wholeOf(src), factor, factor, IPPI_INTER_SUPER}.run(src, dst)),
                ippStsNoErr);
      for (int y = 0; y < dst.height; ++y)
        for (int x = 0; x < dst.width; ++x)
          for (int k = 0; k < channels; ++k) {
            int sum = 0;
            for (int dy = 0; dy < block; ++dy)
              for (int dx = 0; dx < block; ++dx) sum += src.at(x * block + dx, y * block + dy)[k];
            const int area = block * block;
            EXPECT_EQ(dst.at(x, y)[k], (2 * sum + area) / (2 * area)) << x << "," << y;
          }
    }
  }
}

TEST(ResizeKernels, SupersamplingWeighsCutPixelsByTheirCoveredPart) {
  TestImage src = columnRamp(3, 2, 1, 90);
  TestImage dst(2, 2, 1, 0, 0);
  // Footprints 1.5 pixels wide: 0 + 90 / 2 and 90 / 2 + 180, times 2/3.
  const double twoThirds = 2.0 / 3.0;
  for (double yFactor : {1.0, twoThirds}) {
    ASSERT_EQ((ResizeCall{wholeOf(src), twoThirds, yFactor, IPPI_INTER_SUPER}.run(src, dst)),
              ippStsNoErr);
    EXPECT_EQ(rowOf(dst, 0, 2), (std::vector<int>{30, 150})) << yFactor;
  }
}

// Mode reduction looks at the whole image: a mode that would need more
// pixels than one side has falls back to the next smaller kernel.
TEST(ResizeKernels, SmallSourcesFallBackToSmallerKernels) {
  struct Case {
    IppiSize size;
    int asked;
    int runsAs;
    bool reduced;
  };
  const Case cases[] = {
      {{7, 100}, IPPI_INTER_LANCZOS, IPPI_INTER_CUBIC, true},
      {{100, 7}, IPPI_INTER_LANCZOS, IPPI_INTER_CUBIC, true},
      {{8, 100}, IPPI_INTER_LANCZOS, IPPI_INTER_CUBIC, false},
      {{3, 100}, IPPI_INTER_CUBIC, IPPI_INTER_LINEAR, true},
      {{3, 100}, IPPI_INTER_LANCZOS, IPPI_INTER_LINEAR, true},
      {{4, 100}, IPPI_INTER_CUBIC, IPPI_INTER_LINEAR, false},
      {{1, 100}, IPPI_INTER_CUBIC, IPPI_INTER_NN, true},
      {{100, 1}, IPPI_INTER_LINEAR, IPPI_INTER_NN, true},
      {{2, 100}, IPPI_INTER_LINEAR, IPPI_INTER_NN, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.size.width << "x" << c.size.height << " mode " << c.asked);
    TestImage src(c.size.width, c.size.height, 3, 0, 1);
    src.randomize(21);
    TestImage asked(60, 60, 3, 0, 0);
    TestImage smaller(60, 60, 3, 0, 0);
    ASSERT_EQ((ResizeCall{wholeOf(src), 3.3, 0.57, c.asked}.run(src, asked)), ippStsNoErr);
    ASSERT_EQ((ResizeCall{wholeOf(src), 3.3, 0.57, c.runsAs}.run(src, smaller)), ippStsNoErr);
    EXPECT_EQ(asked.bytes == smaller.bytes, c.reduced);
  }
}

// Pixels beside the rectangle are the kernel's neighbours where its taps
// reach them: cubic and Lanczos read them with weight, linear reaches the
// next pixel only with weight zero, nearest and supersampling stay inside.
TEST(ResizeKernels, KernelsReadNeighboursBesideTheRectangle) {
  const TFCImageRect roi{3, 3, 6, 6};
  struct Case {
    int mode;
    bool readsNeighbours;
  };
  for (const Case& c : {Case{IPPI_INTER_CUBIC, true}, Case{IPPI_INTER_LANCZOS, true},
                        Case{IPPI_INTER_LINEAR, false}, Case{IPPI_INTER_NN, false},
                        Case{IPPI_INTER_SUPER, false}}) {
    SCOPED_TRACE(c.mode);
    TestImage src(12, 12, 3, 0, 0);
    src.randomize(22);
    TestImage changed = src;
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 12; ++x)
        if (x < roi.x || y < roi.y || x >= roi.x + roi.width || y >= roi.y + roi.height)
          for (int k = 0; k < 3; ++k) changed.at(x, y)[k] ^= 0x80;
    const double factor = c.mode == IPPI_INTER_SUPER ? 0.7 : 1.7;
    TestImage fromSrc(12, 12, 3, 0, 0);
    TestImage fromChanged(12, 12, 3, 0, 0);
    ASSERT_EQ((ResizeCall{roi, factor, factor, c.mode}.run(src, fromSrc)), ippStsNoErr);
    ASSERT_EQ((ResizeCall{roi, factor, factor, c.mode}.run(changed, fromChanged)), ippStsNoErr);
    EXPECT_EQ(fromSrc.bytes != fromChanged.bytes, c.readsNeighbours);
  }
}

}  // namespace
}  // namespace fc::test
