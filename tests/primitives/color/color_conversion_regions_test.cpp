// Regions inside larger images: each pixel converts as it would alone and
// the bytes around the region stay as they were. (The variant checker
// compares the other variants with px.)
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

TEST(ColourConversionRegions, PxConvertsEachPixelAsAloneAndWritesOnlyTheRegion) {
  std::uint32_t seed = 1;
  for (const NamedConversion& c : allConversions())
    for (const Shape& shape : kShapes) {
      const std::string what = c.name + " " + std::to_string(shape.width) + "x" + std::to_string(shape.height);
      TestImage src(shape.width, shape.height, 3, shape.padding, shape.border);
      TestImage initial(shape.width, shape.height, 3, shape.padding + 2, shape.border + 1);
      src.randomize(seed++);
      initial.randomize(seed++);
      TestImage converted = initial;
      ConversionFn* px = c.variants.front().fn;
      ASSERT_EQ(px(src.data(), src.step, converted.data(), converted.step, src.size()), ippStsNoErr) << what;
      expectPixelByPixel(px, src, initial, converted, what);
    }
}

// Every variant converting a padded image in place gives what it gives into
// a destination of its own.
TEST(ColourConversionRegions, EveryVariantConvertsInPlaceAsIntoAnotherImage) {
  std::uint32_t seed = 500;
  for (const NamedConversion& c : allConversions())
    for (const auto& v : c.variants)
      for (const Shape& shape : {Shape{67, 9, 13, 0}, Shape{9, 2, 1, 0}}) {
        const std::string what = c.name + " [" + v.tag + "] " + std::to_string(shape.width);
        TestImage image(shape.width, shape.height, 3, shape.padding, shape.border);
        image.randomize(seed++);
        TestImage apart = image;
        ASSERT_EQ(v.fn(image.data(), image.step, apart.data(), apart.step, image.size()), ippStsNoErr) << what;
        ASSERT_EQ(v.fn(image.data(), image.step, image.data(), image.step, image.size()), ippStsNoErr) << what;
        EXPECT_EQ(image.bytes, apart.bytes) << what;
      }
}

}  // namespace
}  // namespace fc::test
