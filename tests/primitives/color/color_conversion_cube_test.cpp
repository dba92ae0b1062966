// Every 8-bit colour through each forward conversion and back: the stated
// ranges of the results, and how far the round trip strays. The 16,777,216
// colours are one 4096 x 4096 image, pixel i holding (i >> 16, i >> 8, i).
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "tests/primitives/color/color_conversion_cases.h"

namespace fc::test {
namespace {

constexpr int kSide = kCubeSide;
constexpr int kStep = kCubeStep;

struct Range {
  int low, high;
};

struct CubeCase {
  const char* space;
  ConversionFn* forward;
  ConversionFn* back;
  // Lowest and highest value of each channel over all inputs, as an
  // evaluation of the conversion's definition outside this code gives them.
  Range ranges[3];
  // Largest channel difference after the round trip (measured).
  int roundTripTolerance;
  // A channel whose limit to 0..255 loses the colour: pixels where it sits at
  // a limit are left out of the round trip. -1 when no limit bites.
  int limitedChannel;
};

void PrintTo(const CubeCase& c, std::ostream* os) { *os << c.space; }

class EveryColour : public ::testing::TestWithParam<CubeCase> {};

TEST_P(EveryColour, StaysInItsRangeAndComesBackClose) {
  const CubeCase& c = GetParam();
  const std::vector<Ipp8u>& cube = everyColourImage();
  std::vector<Ipp8u> converted(cube.size()), back(cube.size());
  ASSERT_EQ(c.forward(cube.data(), kStep, converted.data(), kStep, {kSide, kSide}), ippStsNoErr);
  ASSERT_EQ(c.back(converted.data(), kStep, back.data(), kStep, {kSide, kSide}), ippStsNoErr);

  int low[3] = {255, 255, 255}, high[3] = {0, 0, 0}, worst = 0;
  std::size_t worstPixel = 0;
  for (std::size_t p = 0; p < cube.size(); p += 3) {
    for (int ch = 0; ch < 3; ++ch) {
      const int value = converted[p + ch];
      if (value < low[ch]) low[ch] = value;
      if (value > high[ch]) high[ch] = value;
    }
    if (c.limitedChannel >= 0 && (converted[p + c.limitedChannel] == 0 || converted[p + c.limitedChannel] == 255))
      continue;
    for (int ch = 0; ch < 3; ++ch) {
      const int error = back[p + ch] > cube[p + ch] ? back[p + ch] - cube[p + ch] : cube[p + ch] - back[p + ch];
      if (error > worst) worst = error, worstPixel = p / 3;
    }
  }
  for (int ch = 0; ch < 3; ++ch) {
    EXPECT_EQ(low[ch], c.ranges[ch].low) << "channel " << ch;
    EXPECT_EQ(high[ch], c.ranges[ch].high) << "channel " << ch;
  }
  EXPECT_LE(worst, c.roundTripTolerance) << "worst at colour 0x" << std::hex << worstPixel;
}

constexpr Range kFull{0, 255};

INSTANTIATE_TEST_SUITE_P(
    ForwardAndBack, EveryColour,
    ::testing::Values(
        // V is limited: saturated reds and cyans lose it.
        CubeCase{"YUV", px_ippiRGBToYUV_8u_C3R, px_ippiYUVToRGB_8u_C3R, {kFull, {16, 239}, kFull}, 4, 2},
        CubeCase{"YCbCr", px_ippiRGBToYCbCr_8u_C3R, px_ippiYCbCrToRGB_8u_C3R, {{16, 235}, {16, 240}, {16, 240}}, 2,
                 -1},
        // The back conversion scales luma by 1.3584 where the forward one
        // divides by 1.402, so bright colours come back up to 12 levels off.
        CubeCase{"YCC", px_ippiRGBToYCC_8u_C3R, px_ippiYCCToRGB_8u_C3R, {{0, 181}, {57, 254}, {41, 232}}, 12, -1},
        // Z is held at 255 for bright blues.
        CubeCase{"XYZ", px_ippiRGBToXYZ_8u_C3R, px_ippiXYZToRGB_8u_C3R, {{0, 242}, {0, 254}, kFull}, 4, 2},
        CubeCase{"HSV", px_ippiRGBToHSV_8u_C3R, px_ippiHSVToRGB_8u_C3R, {kFull, kFull, kFull}, 3, -1},
        CubeCase{"HLS", px_ippiRGBToHLS_8u_C3R, px_ippiHLSToRGB_8u_C3R, {kFull, kFull, kFull}, 4, -1},
        // Blue is sensitive to the quantised v' where v' is small.
        CubeCase{"LUV", px_ippiRGBToLUV_8u_C3R, px_ippiLUVToRGB_8u_C3R, {kFull, {37, 223}, {4, 241}}, 11, -1},
        CubeCase{"Lab", px_ippiBGRToLab_8u_C3R, px_ippiLabToBGR_8u_C3R, {kFull, {42, 226}, {20, 222}}, 4, -1}),
    [](const auto& info) { return std::string(info.param.space); });

}  // namespace
}  // namespace fc::test
