// Regions inside larger images: each pixel converts as it would alone, the
// bytes around the region stay as they were, and every variant writes px's
// bytes exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/primitives/color/color_conversion_cases.h"
#include "tests/support/test_image.h"

namespace fc::test {
namespace {

struct Shape {
  int width, height, padding, border;
};

// Odd widths around vector lengths, single pixels and rows, padded steps.
constexpr Shape kShapes[] = {{1, 1, 0, 1}, {1, 7, 3, 2}, {7, 1, 0, 0},   {13, 5, 1, 3},
                             {31, 3, 5, 1}, {33, 4, 0, 2}, {67, 9, 13, 1}, {130, 2, 7, 4}, {255, 64, 3, 1}};

// px on the whole region equals px on each pixel alone, and leaves the rest
// of the destination buffer untouched.
void expectPixelByPixel(ConversionFn* px, const TestImage& src, const TestImage& before, const TestImage& after,
                        const std::string& what) {
  TestImage expected = before;
  for (int y = 0; y < src.height; ++y)
    for (int x = 0; x < src.width; ++x) {
      const Ipp8u* in = src.bytes.data() + src.offset(x, y);
      const Pixel out = convertOne(px, {in[0], in[1], in[2]});
      std::copy(out.begin(), out.end(), expected.at(x, y));
    }
  EXPECT_EQ(after.bytes, expected.bytes) << what;
}

TEST(ColourConversionRegions, EveryVariantWritesPxBytesInsideTheRegionOnly) {
  std::uint32_t seed = 1;
  for (const NamedConversion& c : allConversions())
    for (const Shape& shape : kShapes) {
      const std::string what = c.name + " " + std::to_string(shape.width) + "x" + std::to_string(shape.height);
      TestImage src(shape.width, shape.height, 3, shape.padding, shape.border);
      TestImage initial(shape.width, shape.height, 3, shape.padding + 2, shape.border + 1);
      src.randomize(seed++);
      initial.randomize(seed++);
      TestImage reference = initial;
      ConversionFn* px = c.variants.front().fn;
      ASSERT_EQ(px(src.data(), src.step, reference.data(), reference.step, src.size()), ippStsNoErr) << what;
      expectPixelByPixel(px, src, initial, reference, what);
      for (const auto& v : c.variants) {
        TestImage dst = initial;
        ASSERT_EQ(v.fn(src.data(), src.step, dst.data(), dst.step, src.size()), ippStsNoErr) << what;
        EXPECT_EQ(dst.bytes, reference.bytes) << what << " [" << v.tag << "]";
      }
    }
}

TEST(ColourConversionRegions, EveryVariantWritesPxBytesForAQuarterMillionColours) {
  // 1024 x 256 distinct colours spread over the whole cube: an odd
  // multiplier permutes the 2^24 colours, and the first 2^18 of the
  // permutation are taken. Wide rows run the vector loops at full length.
  constexpr int kWidth = 1024, kHeight = 256;
  std::vector<Ipp8u> colours(3 * kWidth * kHeight);
  for (std::uint32_t i = 0; i < kWidth * kHeight; ++i) {
    const std::uint32_t c = (i * 2654435761u) & 0xFFFFFF;
    colours[3 * i] = static_cast<Ipp8u>(c >> 16);
    colours[3 * i + 1] = static_cast<Ipp8u>(c >> 8);
    colours[3 * i + 2] = static_cast<Ipp8u>(c);
  }
  std::vector<Ipp8u> reference(colours.size()), converted(colours.size());
  for (const NamedConversion& c : allConversions()) {
    ASSERT_EQ(c.variants.front().fn(colours.data(), 3 * kWidth, reference.data(), 3 * kWidth, {kWidth, kHeight}),
              ippStsNoErr);
    for (const auto& v : c.variants) {
      ASSERT_EQ(v.fn(colours.data(), 3 * kWidth, converted.data(), 3 * kWidth, {kWidth, kHeight}), ippStsNoErr);
      EXPECT_TRUE(converted == reference) << c.name << " [" << v.tag << "]";
    }
  }
}

}  // namespace
}  // namespace fc::test
