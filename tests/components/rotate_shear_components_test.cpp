// The rotate and shear components in a running stream, on three-byte and
// grey frames.
#include <gtest/gtest.h>

#include "components/Fcrotate.h"
#include "components/Fcshear.h"
#include "tests/components/filter_run.h"
#include "tests/components/geometry_mapping.h"

namespace fc {
namespace {

using test::Inside;
using test::MapsPixels;
using test::NoiseFrame;
using test::SetOutputSize;
using test::TFilterRun;

std::string FormatName(const ::testing::TestParamInfo<TFCVideoFormat>& info) {
  return info.param == vfGray8 ? "Gray" : "Rgb";
}

class RotateFrames : public ::testing::TestWithParam<TFCVideoFormat> {
protected:
  TFCRotate rotate{nullptr};
  TFilterRun run{rotate};
};

TEST_P(RotateFrames, QuarterTurnOfALandscapeFrameFillsAPortraitOutput) {
  const TFCImageBuffer in = NoiseFrame(320, 240, GetParam());
  rotate.SetAngle(90);
  SetOutputSize(rotate, 240, 320);
  const TFCImageBuffer out = run.RunOne(in);
  ASSERT_EQ(out.Width(), 240);
  ASSERT_EQ(out.Height(), 320);
  // Turned about (160, 120), then moved by (-40, +40): input column x lands
  // on output row 320 - x, so column 0 falls just below the output and the
  // top row stays black.
  EXPECT_TRUE(MapsPixels(out, in, [&](int x, int y) { return Inside(in.SizeRecord(), 320 - y, x); }));
}

TEST_P(RotateFrames, SmoothEdgeBlendsOnlyPixelsOutsideThePicture) {
  const TFCImageBuffer in = NoiseFrame(40, 30, GetParam());
  SetOutputSize(rotate, 40, 30);
  rotate.SetAngle(30);
  const TFCImageBuffer sharp = run.RunOne(in);
  rotate.SetSmoothEdge(true);
  const TFCImageBuffer smooth = run.RunOne(in);
  EXPECT_TRUE(test::BlendsOnlyOutsideThePicture(sharp, smooth));
}

INSTANTIATE_TEST_SUITE_P(Formats, RotateFrames, ::testing::Values(vfRGB24, vfGray8), FormatName);

class ShearFrames : public ::testing::TestWithParam<TFCVideoFormat> {
protected:
  void SetUp() override {
    SetOutputSize(shear, 12, 8);
    shear.SetInterpolation(ifNearest);
  }
  TFCShear shear{nullptr};
  TFilterRun run{shear};
  const TFCImageBuffer in = NoiseFrame(12, 8, GetParam());
};

TEST_P(ShearFrames, XShearIsTheDisplacementAcrossTheInputHeight) {
  shear.SetXShear(8);
  // One column per row, taken back by half the displacement.
  const TFCImageBuffer out = run.RunOne(in);
  EXPECT_TRUE(MapsPixels(out, in, [&](int x, int y) { return Inside(in.SizeRecord(), x - y + 4, y); }));
}

TEST_P(ShearFrames, YShearIsTheDisplacementAcrossTheInputWidth) {
  shear.SetYShear(12);
  const TFCImageBuffer out = run.RunOne(in);
  EXPECT_TRUE(MapsPixels(out, in, [&](int x, int y) { return Inside(in.SizeRecord(), x, y - x + 6); }));
}

TEST_P(ShearFrames, AnOddNegativeShearTakesBackItsHalfRoundedTowardZero) {
  shear.SetXShear(-3);
  const TFCImageBuffer out = run.RunOne(in);
  // The top row is not sheared, only moved by -(-3 / 2) = +1 column.
  const int bpp = in.BytesPerPixel();
  const std::vector<Ipp8u> top(out.Read(), out.Read() + out.Step());
  std::vector<Ipp8u> expected(bpp, 0);
  expected.insert(expected.end(), in.Read(), in.Read() + in.Step() - bpp);
  EXPECT_EQ(top, expected);
}

TEST_P(ShearFrames, SmoothEdgeBlendsOnlyPixelsOutsideThePicture) {
  shear.SetXShear(5);
  const TFCImageBuffer sharp = run.RunOne(in);
  shear.SetSmoothEdge(true);
  EXPECT_TRUE(test::BlendsOnlyOutsideThePicture(sharp, run.RunOne(in)));
}

INSTANTIATE_TEST_SUITE_P(Formats, ShearFrames, ::testing::Values(vfRGB24, vfGray8), FormatName);

}  // namespace
}  // namespace fc
