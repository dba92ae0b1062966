// The resize component in a running stream, on three-byte and grey frames.
#include <gtest/gtest.h>

#include "components/Fcresize.h"
#include "tests/components/filter_run.h"
#include "tests/components/geometry_mapping.h"

namespace fc {
namespace {

using test::MapsPixels;
using test::NoiseFrame;
using test::SetOutputSize;
using test::TFilterRun;

class ResizeFrames : public ::testing::TestWithParam<TFCVideoFormat> {
protected:
  TFCResize resize{nullptr};
  TFilterRun run{resize};
};

TEST_P(ResizeFrames, ScalesTheClippedRegionOntoTheWholeOutput) {
  const TFCImageBuffer in = NoiseFrame(12, 10, GetParam());
  // The region reaches past the frame: it is clipped to 4 x 4 at (8, 6),
  // and the factors (2, 2) come from the clipped size.
  test::SetRegion(resize, 8, 6, 100, 100);
  SetOutputSize(resize, 8, 8);
  resize.SetInterpolation(ifNearest);

  const TFCImageBuffer out = run.RunOne(in);
  EXPECT_EQ(run.harness.LastStart()->Width(), 8);
  EXPECT_EQ(run.harness.LastStart()->Height(), 8);
  EXPECT_EQ(run.harness.LastStart()->PixelFormat(), GetParam());
  ASSERT_EQ(out.SizeRecord().width, 8);
  ASSERT_EQ(out.SizeRecord().height, 8);
  EXPECT_TRUE(MapsPixels(out, in, [](int x, int y) { return IppiPoint{8 + x / 2, 6 + y / 2}; }));
}

TEST_P(ResizeFrames, SupersamplingAveragesBlocks) {
  const TFCImageBuffer in = NoiseFrame(8, 6, GetParam());
  SetOutputSize(resize, 4, 3);
  resize.SetInterpolation(ifSuper);
  const TFCImageBuffer out = run.RunOne(in);
  ASSERT_EQ(out.Size(), 4u * 3u * in.BytesPerPixel());
  const int bpp = in.BytesPerPixel();
  auto at = [&](int x, int y, int c) { return int(in.Read()[y * in.Step() + x * bpp + c]); };
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x)
      for (int c = 0; c < bpp; ++c) {
        const int sum = at(2 * x, 2 * y, c) + at(2 * x + 1, 2 * y, c) + at(2 * x, 2 * y + 1, c) +
                        at(2 * x + 1, 2 * y + 1, c);
        EXPECT_EQ(out.Read()[y * out.Step() + x * bpp + c], (sum + 2) / 4) << x << ", " << y << ", " << c;
      }
}

INSTANTIATE_TEST_SUITE_P(Formats, ResizeFrames, ::testing::Values(vfRGB24, vfGray8),
                         [](const auto& info) { return info.param == vfGray8 ? "Gray" : "Rgb"; });

}  // namespace
}  // namespace fc
