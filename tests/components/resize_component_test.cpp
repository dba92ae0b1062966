// The resize component in a running stream, on three-byte and grey frames.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "components/Fcresize.h"
#include "dispatch/primitives.h"
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

// The component hands the primitive output pixels that are not made black
// first: with factors that take the region onto the whole output, every
// output pixel must be written, whatever the bytes were before.
TEST_P(ResizeFrames, TheComponentsFactorsMakeThePrimitiveWriteTheWholeOutput) {
  const bool grey = GetParam() == vfGray8;
  const int bpp = grey ? 1 : 3;
  auto* entry = fc_entry(grey ? ippiResize_8u_C1R : ippiResize_8u_C3R);
  std::mt19937 random(11);
  std::uniform_int_distribution<int> side(1, 37);
  for (int i = 0; i < 300; ++i) {
    const TFCImageBuffer in = NoiseFrame(side(random), side(random), GetParam(), i);
    const TFCImageRect roi{0, 0, in.Width(), in.Height()};
    const IppiSize out{side(random), side(random)};
    const double xFactor = static_cast<double>(out.width) / roi.width;
    const double yFactor = static_cast<double>(out.height) / roi.height;
    for (int interpolation : {IPPI_INTER_NN, IPPI_INTER_LINEAR, IPPI_INTER_CUBIC, IPPI_INTER_LANCZOS,
                              IPPI_INTER_SUPER}) {
      if (interpolation == IPPI_INTER_SUPER && (xFactor > 1 || yFactor > 1)) continue;
      std::vector<Ipp8u> zeros(static_cast<std::size_t>(out.width) * out.height * bpp, 0), ones(zeros.size(), 255);
      for (std::vector<Ipp8u>* dst : {&zeros, &ones})
        ASSERT_EQ(entry(in.Read(), in.SizeRecord(), in.Step(), roi, dst->data(), out.width * bpp, out, xFactor,
                        yFactor, interpolation),
                  ippStsNoErr);
      ASSERT_EQ(zeros, ones) << in.Width() << "x" << in.Height() << " to " << out.width << "x" << out.height
                             << ", interpolation " << interpolation;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, ResizeFrames, ::testing::Values(vfRGB24, vfGray8),
                         [](const auto& info) { return info.param == vfGray8 ? "Gray" : "Rgb"; });

}  // namespace
}  // namespace fc
