// The image adjuster and the picture overlay.
#include <gtest/gtest.h>

#include "components/Fcapplymask.h"
#include "components/Fcimageadjust.h"
#include "contracts/video/helper_primitives.h"
#include "dispatch/primitives.h"
#include "tests/components/filter_run.h"
#include "tests/components/picture_files.h"

namespace fc {
namespace {

using test::BytesOf;
using test::CountingFrame;
using test::TFilterRun;
using Matrix = std::array<std::array<Ipp32f, 4>, 3>;

TEST(ImageAdjust, StartValuesGiveTheHlsRoundTrip) {
  TFCImageAdjust adjust(nullptr);
  TFilterRun run(adjust);
  const TFCImageBuffer in = CountingFrame(9, 7, vfRGB24, 3);
  // Swap to RGB, to HLS and back, swap back: what the identity matrices leave.
  static constexpr int kSwap[3] = {2, 1, 0};
  TFCImageBuffer rgb(9, 7), hls(9, 7), expected(9, 7);
  const int step = in.Step();
  ippiSwapChannels_8u_C3R(in.Read(), step, rgb.Write(), step, in.SizeRecord(), kSwap);
  fc_entry(ippiRGBToHLS_8u_C3R)(rgb.Read(), step, hls.Write(), step, in.SizeRecord());
  fc_entry(ippiHLSToRGB_8u_C3R)(hls.Read(), step, rgb.Write(), step, in.SizeRecord());
  ippiSwapChannels_8u_C3R(rgb.Read(), step, expected.Write(), step, in.SizeRecord(), kSwap);
  EXPECT_EQ(BytesOf(run.RunOne(in)), BytesOf(expected));
}

TEST(ImageAdjust, SettersWriteTheirMatrixEntriesAndPins) {
  TFCImageAdjust adjust(nullptr);
  adjust.SetHue(12);
  adjust.SetBrightness(-7);
  adjust.SetLightness(0.5f);
  adjust.SetSaturation(2);
  adjust.SetContrast(1.5f);
  EXPECT_EQ(adjust.HlsMatrix(), (Matrix{{{1, 0, 0, 12}, {0, 0.5f, 0, -7}, {0, 0, 2, 0}}}));
  EXPECT_EQ(adjust.OutputMatrix(), (Matrix{{{0, 0, 1.5f, 0}, {0, 1.5f, 0, 0}, {1.5f, 0, 0, 0}}}));
  EXPECT_EQ(adjust.GetHuePin()->Value(), 12);
  EXPECT_EQ(adjust.GetContrastPin()->Value(), 1.5f);

  // A value arriving on a pin sets the property.
  TPMFloatStatePin source(nullptr, "Source");
  source.Connect(*adjust.GetSaturationPin());
  source.SetValue(0.25f);
  EXPECT_EQ(adjust.GetSaturation(), 0.25f);
  EXPECT_EQ(adjust.HlsMatrix()[2][2], 0.25f);
}

TEST(ImageAdjust, ZeroContrastMakesBlackFrames) {
  TFCImageAdjust adjust(nullptr);
  adjust.SetContrast(0);
  TFilterRun run(adjust);
  const TFCImageBuffer in = CountingFrame(5, 4);
  EXPECT_EQ(BytesOf(run.RunOne(in)), std::vector<Ipp8u>(in.Size(), 0));
}

// A picture whose pixels are `key` where `transparent` says so and a colour
// of their own elsewhere.
test::TRawPicture KeyedPicture(int width, int height, std::array<Ipp8u, 3> key,
                               const std::function<bool(int, int)>& transparent) {
  test::TRawPicture picture{width, height, 3, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 3; ++c)
        picture.pixels.push_back(transparent(x, y) ? key[c] : static_cast<Ipp8u>(10 + 20 * x + 3 * y + c));
  return picture;
}

// The frame pixel (x, y) as red, green, blue.
std::array<Ipp8u, 3> Rgb(const TFCImageBuffer& frame, int x, int y) {
  const Ipp8u* p = frame.Read() + (y * frame.Width() + x) * 3;
  return {p[2], p[1], p[0]};
}

TEST(ApplyMask, OverlaysThePictureExceptWhereItShowsTheCornerColour) {
  TFCApplyMask mask(nullptr);
  mask.SetTransparentSource(tsBottomRight);
  const std::array<Ipp8u, 3> key{1, 2, 3};
  const auto picture = KeyedPicture(4, 3, key, [](int x, int y) { return (x + y) % 2 == 1; });
  mask.GetPicture()->LoadFromData(test::EncodePng(picture));
  TFilterRun run(mask);
  const TFCImageBuffer in = CountingFrame(6, 5, vfRGB24, 100);
  const TFCImageBuffer out = run.RunOne(in);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool covered = x < 4 && y < 3 && (x + y) % 2 == 0;
      const auto expected = covered ? std::array<Ipp8u, 3>{static_cast<Ipp8u>(10 + 20 * x + 3 * y),
                                                           static_cast<Ipp8u>(11 + 20 * x + 3 * y),
                                                           static_cast<Ipp8u>(12 + 20 * x + 3 * y)}
                                    : Rgb(in, x, y);
      EXPECT_EQ(Rgb(out, x, y), expected) << x << "," << y;
    }
  // Keyed by the top-left colour instead, only that pixel is transparent.
  mask.SetTransparentSource(tsTopLeft);
  std::vector<Ipp8u> expectedMask(mask.Mask().Size(), 0);
  std::fill_n(expectedMask.begin(), 3, 255);
  EXPECT_EQ(BytesOf(mask.Mask()), expectedMask);
}

TEST(ApplyMask, StretchesThePictureToTheFrameAndStartsAtTheRegion) {
  TFCApplyMask mask(nullptr);
  mask.SetStretched(true);
  mask.SetTransparentSource(tsCustom);
  mask.SetTransparentColor(0x030201);  // red 1, green 2, blue 3
  const auto picture = KeyedPicture(2, 2, {1, 2, 3}, [](int x, int y) { return x == 1 && y == 1; });
  mask.GetPicture()->LoadFromData(test::EncodePng(picture));
  TFilterRun run(mask);
  const TFCImageBuffer in = CountingFrame(4, 4, vfRGB24, 50);
  const TFCImageBuffer out = run.RunOne(in);
  EXPECT_EQ(mask.Mask().Width(), 4);
  EXPECT_EQ(Rgb(out, 1, 1), (std::array<Ipp8u, 3>{10, 11, 12}));  // picture pixel (0, 0), twice as large
  EXPECT_EQ(Rgb(out, 2, 0), (std::array<Ipp8u, 3>{30, 31, 32}));
  EXPECT_EQ(Rgb(out, 3, 3), Rgb(in, 3, 3));  // transparent corner

  // With a region, the overlay starts at its origin and stays inside it.
  SetPropertyText(mask, "Region.X", "3");
  SetPropertyText(mask, "Region.Y", "2");
  SetPropertyText(mask, "Region.Enabled", "True");
  const TFCImageBuffer moved = run.RunOne(in);
  EXPECT_EQ(Rgb(moved, 3, 2), (std::array<Ipp8u, 3>{10, 11, 12}));
  EXPECT_EQ(Rgb(moved, 0, 0), Rgb(in, 0, 0));
}

TEST(ApplyMask, WithoutAPictureFramesPassUnchanged) {
  TFCApplyMask mask(nullptr);
  TFilterRun run(mask);
  const TFCImageBuffer in = CountingFrame(5, 3);
  EXPECT_EQ(BytesOf(run.RunOne(in)), BytesOf(in));
}

}  // namespace
}  // namespace fc
