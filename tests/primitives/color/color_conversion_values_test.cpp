// Fixed values of the colour-space conversions on every variant: black and
// white, greys (zero saturation), the special inputs of the back
// conversions, and the argument checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/primitives/color/color_conversion_cases.h"
#include "tests/support/test_image.h"

namespace fc::test {
namespace {

// Expects every variant this processor runs to give `expected` for `in`.
void expectPixel(const ConversionVariants& variants, Pixel in, Pixel expected, const std::string& what) {
  for (const auto& v : variants) EXPECT_EQ(convertOne(v.fn, in), expected) << what << " [" << v.tag << "]";
}

TEST(ColourConversionValues, BlackAndWhiteInEverySpace) {
  struct Case {
    const char* space;
    Pixel black, white;
  } const cases[] = {
      {"YUV", {0, 128, 128}, {255, 128, 128}}, {"YCbCr", {16, 128, 128}, {235, 128, 128}},
      {"YCC", {0, 156, 137}, {181, 156, 137}}, {"XYZ", {0, 0, 0}, {242, 254, 255}},  // Z held at 255
      {"HSV", {0, 0, 0}, {0, 0, 255}},         {"HLS", {0, 0, 0}, {0, 255, 0}},
      {"LUV", {0, 97, 136}, {255, 97, 136}},   {"Lab", {0, 128, 128}, {255, 128, 128}},
  };
  const auto spaces = colourSpaces();
  for (const Case& c : cases) {
    const auto space = std::find_if(spaces.begin(), spaces.end(), [&](auto& s) { return s.name == c.space; });
    ASSERT_NE(space, spaces.end());
    expectPixel(space->forward, {0, 0, 0}, c.black, std::string("black to ") + c.space);
    expectPixel(space->forward, {255, 255, 255}, c.white, std::string("white to ") + c.space);
  }
}

// Three chromatic colours through every space and the forward results back,
// worked out from the conversions' definitions outside this code (integer
// arithmetic for the integer spaces, double precision for the others, each
// result at least 0.01 from a rounding edge). The colour bytes are red,
// green, blue, except for Lab, which reads and writes blue, green, red.
TEST(ColourConversionValues, ChromaticColoursBothWaysInEverySpace) {
  struct Case {
    const char* space;
    Pixel forward[3];  // of the three colours
    Pixel back[3];     // of the forward results
  } const cases[] = {
      {"YUV", {{87, 128, 226}, {115, 100, 35}, {78, 197, 94}}, {{198, 30, 87}, {8, 180, 58}, {39, 70, 218}}},
      {"YCbCr", {{91, 129, 198}, {115, 101, 62}, {83, 198, 104}}, {{199, 29, 89}, {9, 179, 60}, {39, 70, 219}}},
      {"YCC", {{62, 157, 196}, {82, 132, 80}, {55, 217, 116}}, {{191, 29, 86}, {7, 174, 58}, {36, 67, 209}}},
      {"XYZ", {{109, 70, 92}, {79, 135, 79}, {81, 74, 218}}, {{199, 29, 89}, {9, 179, 60}, {40, 69, 219}}},
      {"HSV", {{240, 217, 200}, {98, 241, 180}, {163, 209, 220}}, {{200, 30, 90}, {10, 180, 62}, {40, 69, 220}}},
      {"HLS", {{240, 115, 188}, {98, 95, 228}, {163, 130, 184}}, {{200, 30, 90}, {10, 180, 62}, {40, 70, 220}}},
      {"LUV", {{151, 155, 114}, {198, 51, 186}, {155, 84, 54}}, {{198, 29, 89}, {10, 179, 60}, {40, 69, 219}}},
      {"Lab", {{137, 179, 70}, {203, 77, 195}, {176, 161, 161}}, {{201, 30, 90}, {10, 181, 60}, {40, 71, 221}}},
  };
  const Pixel colours[3] = {{200, 30, 90}, {10, 180, 61}, {40, 70, 220}};
  const auto spaces = colourSpaces();
  for (const Case& c : cases) {
    const auto space = std::find_if(spaces.begin(), spaces.end(), [&](auto& s) { return s.name == c.space; });
    ASSERT_NE(space, spaces.end());
    for (int i = 0; i < 3; ++i) {
      const std::string what = std::string(c.space) + " colour " + std::to_string(i);
      expectPixel(space->forward, colours[i], c.forward[i], what + " forward");
      expectPixel(space->back, c.forward[i], c.back[i], what + " back");
    }
  }
}

TEST(ColourConversionValues, LuvLightnessFollowsItsTableOnGreys) {
  // A grey's rounded luminance is its own level, so L is the table entry.
  const int first[] = {0, 9, 18, 26, 33, 39, 44, 48};
  const int last[] = {253, 253, 254, 254, 255, 255};
  for (int k = 0; k < 8; ++k)
    expectPixel(variantsOf_ippiRGBToLUV_8u_C3R(), {Ipp8u(k), Ipp8u(k), Ipp8u(k)}, {Ipp8u(first[k]), 97, 136},
                "grey " + std::to_string(k));
  for (int k = 250; k < 256; ++k)
    expectPixel(variantsOf_ippiRGBToLUV_8u_C3R(), {Ipp8u(k), Ipp8u(k), Ipp8u(k)}, {Ipp8u(last[k - 250]), 97, 136},
                "grey " + std::to_string(k));
}

TEST(ColourConversionValues, GreysHaveNoHueOrSaturation) {
  for (int g : {1, 77, 128, 254}) {
    const Ipp8u v = static_cast<Ipp8u>(g);
    expectPixel(variantsOf_ippiRGBToHSV_8u_C3R(), {v, v, v}, {0, 0, v}, "HSV of grey");
    expectPixel(variantsOf_ippiRGBToHLS_8u_C3R(), {v, v, v}, {0, v, 0}, "HLS of grey");
  }
}

TEST(ColourConversionValues, ZeroSaturationGivesGreyWhateverTheHue) {
  for (int h : {0, 100, 254, 255})
    for (int level : {0, 1, 128, 255}) {
      const Ipp8u hue = static_cast<Ipp8u>(h), l = static_cast<Ipp8u>(level);
      expectPixel(variantsOf_ippiHSVToRGB_8u_C3R(), {hue, 0, l}, {l, l, l}, "HSV S=0");
      expectPixel(variantsOf_ippiHLSToRGB_8u_C3R(), {hue, l, 0}, {l, l, l}, "HLS S=0");
    }
}

TEST(ColourConversionValues, HsvHue255IsHueZero) {
  for (int s : {1, 128, 255})
    for (int v : {1, 200, 255}) {
      const Pixel atZero = convertOne(px_ippiHSVToRGB_8u_C3R, {0, Ipp8u(s), Ipp8u(v)});
      expectPixel(variantsOf_ippiHSVToRGB_8u_C3R(), {255, Ipp8u(s), Ipp8u(v)}, atZero, "HSV H=255");
    }
  // Full saturation at hue 0 is pure red.
  expectPixel(variantsOf_ippiHSVToRGB_8u_C3R(), {255, 255, 255}, {255, 0, 0}, "HSV red");
}

TEST(ColourConversionValues, LuvLightnessZeroIsBlackWhateverUAndV) {
  for (int u : {0, 97, 255})
    for (int v : {0, 136, 255})
      expectPixel(variantsOf_ippiLUVToRGB_8u_C3R(), {0, Ipp8u(u), Ipp8u(v)}, {0, 0, 0}, "LUV L=0");
}

TEST(ColourConversionChecks, NullBeforeSizeAndNothingWritten) {
  TestImage src(4, 2, 3, 0, 1), dst(4, 2, 3, 0, 1);
  src.randomize(3);
  dst.randomize(4);
  const std::vector<Ipp8u> before = dst.bytes;
  for (const NamedConversion& c : allConversions())
    for (const auto& v : c.variants) {
      const std::string what = c.name + " [" + v.tag + "]";
      EXPECT_EQ(v.fn(nullptr, src.step, dst.data(), dst.step, {0, 0}), ippStsNullPtrErr) << what;
      EXPECT_EQ(v.fn(src.data(), src.step, nullptr, dst.step, {-1, 2}), ippStsNullPtrErr) << what;
      EXPECT_EQ(v.fn(src.data(), src.step, dst.data(), dst.step, {0, 2}), ippStsSizeErr) << what;
      EXPECT_EQ(v.fn(src.data(), src.step, dst.data(), dst.step, {4, 0}), ippStsSizeErr) << what;
      EXPECT_EQ(v.fn(src.data(), src.step, dst.data(), dst.step, {4, -3}), ippStsSizeErr) << what;
      EXPECT_EQ(dst.bytes, before) << what;
    }
}

TEST(ColourConversionChecks, StepsAreTakenAsGiven) {
  // Step 0 repeats a row; a negative step walks the image upwards.
  TestImage src(5, 3, 3), dst(5, 3, 3), reference(5, 3, 3);
  src.randomize(5);
  for (const NamedConversion& c : allConversions()) {
    auto* px = c.variants.front().fn;
    ASSERT_EQ(px(src.data(), src.step, reference.data(), reference.step, src.size()), ippStsNoErr);
    for (const auto& v : c.variants) {
      const std::string what = c.name + " [" + v.tag + "]";
      ASSERT_EQ(v.fn(src.at(0, 2), -src.step, dst.at(0, 2), -dst.step, src.size()), ippStsNoErr) << what;
      EXPECT_EQ(dst.bytes, reference.bytes) << what;
      ASSERT_EQ(v.fn(src.at(0, 1), 0, dst.data(), dst.step, src.size()), ippStsNoErr) << what;
      for (int y = 0; y < 3; ++y)
        EXPECT_TRUE(std::equal(dst.at(0, y), dst.at(0, y) + 15, reference.at(0, 1))) << what << " row " << y;
    }
  }
}

}  // namespace
}  // namespace fc::test
