// The mirror and crop components on three-byte and one-byte frames.
#include <gtest/gtest.h>

#include "components/Fccrop.h"
#include "components/Fcmirror.h"
#include "tests/components/filter_run.h"

namespace fc {
namespace {

using test::BytesOf;
using test::CountingFrame;
using test::TFilterRun;

// Pixel (x, y) of a frame, all its bytes.
std::vector<Ipp8u> PixelAt(const TFCImageBuffer& frame, int x, int y) {
  const Ipp8u* p = frame.Read() + y * frame.Step() + x * frame.BytesPerPixel();
  return {p, p + frame.BytesPerPixel()};
}

class MirrorAxes : public ::testing::TestWithParam<TFCVideoFormat> {};

TEST_P(MirrorAxes, EachTypeFlipsItsAxisAndKeepsTheFormat) {
  const TFCVideoFormat format = GetParam();
  const TFCImageBuffer in = CountingFrame(5, 3, format);
  TFCMirror mirror(nullptr);
  TFilterRun run(mirror);
  struct Case {
    const char* type;
    bool flipsRows, flipsColumns;
  };
  for (const Case c : {Case{"mtHorizontal", true, false}, Case{"mtVertical", false, true}, Case{"mtBoth", true, true}}) {
    SetPropertyText(mirror, "MirrorType", c.type);
    const TFCImageBuffer out = run.RunOne(in);
    EXPECT_EQ(run.harness.LastStart()->PixelFormat(), format);
    ASSERT_EQ(out.Format(), format);
    ASSERT_EQ(out.SizeRecord().width, 5);
    ASSERT_EQ(out.SizeRecord().height, 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x)
        ASSERT_EQ(PixelAt(out, x, y), PixelAt(in, c.flipsColumns ? 4 - x : x, c.flipsRows ? 2 - y : y))
            << c.type << " at " << x << ", " << y;
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, MirrorAxes, ::testing::Values(vfRGB24, vfGray8));

struct CropCase {
  const char* name;
  int x, y, width, height;  // the region
  int outX, outY, outWidth, outHeight;  // what comes out; outWidth 0: the frame unchanged
};

class CropRegions : public ::testing::TestWithParam<std::tuple<TFCVideoFormat, CropCase>> {};

TEST_P(CropRegions, SendsThePartOfTheRegionInsideTheFrame) {
  const auto [format, c] = GetParam();
  TFCCrop crop(nullptr);
  TFCRectRegion* region = crop.GetRegion();
  region->SetX(static_cast<std::uint16_t>(c.x));
  region->SetY(static_cast<std::uint16_t>(c.y));
  region->SetWidth(static_cast<std::uint16_t>(c.width));
  region->SetHeight(static_cast<std::uint16_t>(c.height));
  TFilterRun run(crop);
  const TFCImageBuffer in = CountingFrame(8, 6, format);
  const TFCImageBuffer out = run.RunOne(in);

  EXPECT_EQ(out.Format(), format);
  if (c.outWidth == 0) {
    EXPECT_EQ(BytesOf(out), BytesOf(in));
    EXPECT_EQ(run.harness.LastStart()->Width(), 8);
    return;
  }
  ASSERT_EQ(out.Width(), c.outWidth);
  ASSERT_EQ(out.Height(), c.outHeight);
  EXPECT_EQ(run.harness.LastStart()->Width(), c.outWidth);
  EXPECT_EQ(run.harness.LastStart()->Height(), c.outHeight);
  for (int y = 0; y < c.outHeight; ++y)
    for (int x = 0; x < c.outWidth; ++x)
      ASSERT_EQ(PixelAt(out, x, y), PixelAt(in, c.outX + x, c.outY + y)) << x << ", " << y;
}

INSTANTIATE_TEST_SUITE_P(
    Regions, CropRegions,
    ::testing::Combine(::testing::Values(vfRGB24, vfGray8),
                       ::testing::Values(CropCase{"Inside", 2, 1, 3, 4, 2, 1, 3, 4},
                                         CropCase{"LargerThanTheFrame", 5, 2, 100, 100, 5, 2, 3, 4},
                                         CropCase{"OriginOnTheRightEdge", 8, 0, 4, 4, 0, 0, 0, 0},
                                         CropCase{"OriginBelowTheBottom", 0, 9, 4, 4, 0, 0, 0, 0},
                                         CropCase{"LastPixel", 7, 5, 1, 1, 7, 5, 1, 1})),
    [](const auto& info) {
      return std::string(std::get<0>(info.param) == vfGray8 ? "Gray" : "Rgb") + std::get<1>(info.param).name;
    });

}  // namespace
}  // namespace fc
