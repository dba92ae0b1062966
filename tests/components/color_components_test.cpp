// Gamma, grey scale, colour twist and threshold components.
#include <gtest/gtest.h>

#include "components/Fccolortwist.h"
#include "components/Fcgammafilter.h"
#include "components/Fcgrayscale.h"
#include "components/Fcthreshold.h"
#include "dispatch/primitives.h"
#include "tests/components/filter_run.h"

namespace fc {
namespace {

using test::BytesOf;
using test::CountingFrame;
using test::TFilterRun;

// Every byte value once (and a few more), in a 7 x 13 frame.
TFCImageBuffer AllBytes() { return CountingFrame(7, 13, vfRGB24, 0); }

TEST(GammaFilter, AppliesTheTableOfItsType) {
  TFCGammaFilter gamma(nullptr);
  TFilterRun run(gamma);
  const TFCImageBuffer in = AllBytes();
  TFCImageBuffer forward(7, 13), inverse(7, 13);
  fc_entry(ippiGammaFwd_8u_C3R)(in.Read(), in.Step(), forward.Write(), forward.Step(), in.SizeRecord());
  fc_entry(ippiGammaInv_8u_C3R)(in.Read(), in.Step(), inverse.Write(), inverse.Step(), in.SizeRecord());

  EXPECT_EQ(BytesOf(run.RunOne(in)), BytesOf(forward));
  SetPropertyText(gamma, "GammaType", "gtInverse");
  EXPECT_EQ(gamma.GetGammaType(), gtInverse);
  EXPECT_EQ(BytesOf(run.RunOne(in)), BytesOf(inverse));
}

TEST(GrayScale, SendsOneByteFramesAndAnnouncesThem) {
  TFCGrayScale gray(nullptr);
  TFilterRun run(gray);
  const TFCImageBuffer in = AllBytes();
  const TFCImageBuffer out = run.RunOne(in);
  ASSERT_NE(run.harness.LastStart(), nullptr);
  EXPECT_EQ(run.harness.LastStart()->PixelFormat(), vfGray8);
  EXPECT_EQ(out.Format(), vfGray8);
  EXPECT_EQ(out.Width(), 7);
  EXPECT_EQ(out.Height(), 13);

  // Luma weights 0.114 blue, 0.587 green, 0.299 red, rounded to the nearest;
  // pixels are stored blue first.
  TFCImageBuffer colours(5, 1);
  const Ipp8u bgr[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255, 10, 20, 30};
  std::copy(std::begin(bgr), std::end(bgr), colours.Write());
  EXPECT_EQ(BytesOf(run.RunOne(colours)), (std::vector<Ipp8u>{29, 150, 76, 255, 22}));
}

TEST(ColorTwist, ANewComponentMakesBlackFramesUntilItsMatrixIsSet) {
  TFCColorTwist twist(nullptr);
  TFilterRun run(twist);
  const TFCImageBuffer in = AllBytes();
  EXPECT_EQ(BytesOf(run.RunOne(in)), std::vector<Ipp8u>(in.Size(), 0));

  // Row 0 (RedTwist) gives frame byte 0, its Red column weighs byte 0.
  SetPropertyText(twist, "ColorTwists.RedTwist.Green", "1");
  SetPropertyText(twist, "ColorTwists.GreenTwist.Offset", "100.5");
  SetPropertyText(twist, "ColorTwists.BlueTwist.Red", "0.5");
  SetPropertyText(twist, "ColorTwists.BlueTwist.Blue", "2");
  const Ipp32f matrix[3][4] = {{0, 1, 0, 0}, {0, 0, 0, 100.5f}, {0.5f, 0, 2, 0}};
  TFCImageBuffer expected(7, 13);
  fc_entry(ippiColorTwist32f_8u_C3R)(in.Read(), in.Step(), expected.Write(), expected.Step(), in.SizeRecord(),
                                     matrix);
  EXPECT_EQ(BytesOf(run.RunOne(in)), BytesOf(expected));
  EXPECT_EQ(twist.GetColorTwists()->Matrix()[2][0], 0.5f);
}

TEST(ColorTwist, AssigningCopiesTheMatrixIntoTheOwnedOne) {
  TFCColorTwist from(nullptr), to(nullptr);
  from.GetColorTwists()->GetGreenTwist()->SetBlue(3);
  from.GetColorTwists()->GetBlueTwist()->SetOffset(-4);
  TFCColorTwists* owned = to.GetColorTwists();
  to.SetColorTwists(*from.GetColorTwists());
  EXPECT_EQ(to.GetColorTwists(), owned);
  EXPECT_EQ(owned->Matrix()[1][2], 3.0f);
  EXPECT_EQ(owned->Matrix()[2][3], -4.0f);
  EXPECT_EQ(owned->Matrix()[0][0], 0.0f);
}

TEST(Threshold, TheDefaultsSetEveryChannelAbove128ToZero) {
  TFCThreshold threshold(nullptr);
  TFilterRun run(threshold);
  const TFCImageBuffer in = AllBytes();
  const TFCImageBuffer out = run.RunOne(in);
  for (std::size_t i = 0; i < in.Size(); ++i)
    ASSERT_EQ(out.Read()[i], in.Read()[i] > 128 ? 0 : in.Read()[i]) << "byte " << i;
}

// One pixel through a threshold component.
std::vector<Ipp8u> Pixel(TFCThreshold& threshold, Ipp8u b, Ipp8u g, Ipp8u r) {
  TFCImageBuffer in(1, 1);
  Ipp8u* p = in.Write();
  p[0] = b, p[1] = g, p[2] = r;
  return BytesOf(TFilterRun(threshold).RunOne(in));
}

TEST(Threshold, UsesTheEnabledSidesWithColourBytesInMemoryOrder) {
  TFCThreshold threshold(nullptr);
  // Threshold 0x00BBGGRR = 0x506070: bytes 0x70, 0x60, 0x50 for frame bytes 0, 1, 2.
  SetPropertyText(threshold, "ThresholdBottom.Threshold", std::to_string(0x506070));
  SetPropertyText(threshold, "ThresholdBottom.Value", std::to_string(0x030201));
  SetPropertyText(threshold, "ThresholdTop.Threshold", std::to_string(0xA0B0C0));
  SetPropertyText(threshold, "ThresholdTop.Value", std::to_string(0xFDFEFF));

  EXPECT_EQ(Pixel(threshold, 0x6F, 0xB1, 0x80), (std::vector<Ipp8u>{0x01, 0xFE, 0x80}));
  SetPropertyText(threshold, "ThresholdTop.Enabled", "False");
  EXPECT_EQ(Pixel(threshold, 0x6F, 0xB1, 0x4F), (std::vector<Ipp8u>{0x01, 0xB1, 0x03}));
  threshold.GetThresholdTop()->SetEnabled(true);
  threshold.GetThresholdBottom()->SetEnabled(false);
  EXPECT_EQ(Pixel(threshold, 0x6F, 0xB1, 0xA1), (std::vector<Ipp8u>{0x6F, 0xFE, 0xFD}));
  threshold.GetThresholdTop()->SetEnabled(false);
  EXPECT_EQ(Pixel(threshold, 0xFF, 0x00, 0x99), (std::vector<Ipp8u>{0xFF, 0x00, 0x99}));
}

}  // namespace
}  // namespace fc
