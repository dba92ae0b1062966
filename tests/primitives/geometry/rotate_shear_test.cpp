// Rotation and shear: the rotation shifts, the right-angle pixel moves, the
// affine engine's checks, coverage, kernels and edge smoothing.
#include <gtest/gtest.h>

#include <vector>

#include "tests/primitives/geometry/warp_test_support.h"

namespace {

using fc::test::WarpImages;

constexpr int kNN = IPPI_INTER_NN, kLinear = IPPI_INTER_LINEAR, kCubic = IPPI_INTER_CUBIC;

TEST(GetRotateShift, RightAnglesAreExactAndAnglesReduceToOneTurn) {
  double xs = -1, ys = -1;
  ASSERT_EQ(px_ippiGetRotateShift(50, 30, 90, &xs, &ys), ippStsNoErr);
  EXPECT_EQ(xs, 20.0);
  EXPECT_EQ(ys, 80.0);
  ASSERT_EQ(px_ippiGetRotateShift(50, 30, 450, &xs, &ys), ippStsNoErr);
  EXPECT_EQ(xs, 20.0);
  EXPECT_EQ(ys, 80.0);
  ASSERT_EQ(px_ippiGetRotateShift(50, 30, -90, &xs, &ys), ippStsNoErr);
  EXPECT_EQ(xs, 80.0);
  EXPECT_EQ(ys, -20.0);
  ASSERT_EQ(px_ippiGetRotateShift(50, 30, 180, &xs, &ys), ippStsNoErr);
  EXPECT_EQ(xs, 100.0);
  EXPECT_EQ(ys, 60.0);
  ASSERT_EQ(px_ippiGetRotateShift(50, 30, -720, &xs, &ys), ippStsNoErr);
  EXPECT_EQ(xs, 0.0);
  EXPECT_EQ(ys, 0.0);
}

TEST(GetRotateShift, ShiftsMakeTheCentreAFixedPoint) {
  for (double angle : {45.0, -30.0, 123.4}) {
    double xs = 0, ys = 0;
    ASSERT_EQ(px_ippiGetRotateShift(50, 30, angle, &xs, &ys), ippStsNoErr);
    const double r = angle * 3.14159265358979323846 / 180;
    EXPECT_NEAR(std::cos(r) * 50 + std::sin(r) * 30 + xs, 50, 1e-9) << angle;
    EXPECT_NEAR(-std::sin(r) * 50 + std::cos(r) * 30 + ys, 30, 1e-9) << angle;
  }
  double xs = 0;
  EXPECT_EQ(px_ippiGetRotateShift(1, 2, 3, &xs, nullptr), ippStsNullPtrErr);
  EXPECT_EQ(px_ippiGetRotateShift(1, 2, 3, nullptr, &xs), ippStsNullPtrErr);
}

// Where source pixel (x, y) lands for each right angle with shifts (10, 20).
struct RightAngleCase {
  double angle;
  int (*targetX)(int x, int y);
  int (*targetY)(int x, int y);
};

TEST(RotateRightAngle, MovesEveryPixelExactlyAndIgnoresInterpolation) {
  const RightAngleCase cases[] = {
      {90, [](int, int y) { return y + 10; }, [](int x, int) { return 20 - x; }},
      {450, [](int, int y) { return y + 10; }, [](int x, int) { return 20 - x; }},
      {180, [](int x, int) { return 10 - x; }, [](int, int y) { return 20 - y; }},
      {-90, [](int, int y) { return 10 - y; }, [](int x, int) { return x + 20; }},
      {270, [](int, int y) { return 10 - y; }, [](int x, int) { return x + 20; }},
  };
  for (const auto& c : cases) {
    WarpImages im(12, 9, 40, 40, 3);
    std::vector<Ipp8u> expected = im.dst.bytes;
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 12; ++x) {
        const int tx = c.targetX(x, y), ty = c.targetY(x, y);
        if (tx < 0 || ty < 0) continue;  // outside the destination rectangle
        for (int ch = 0; ch < 3; ++ch) expected[im.dst.offset(tx, ty) + ch] = im.srcAt(x, y, ch);
      }
    // An invalid interpolation value with smoothing: the pixel moves ignore both.
    EXPECT_EQ(im.run(px_ippiRotate_8u_C3R, fc::test::rectOf(im.src), fc::test::rectOf(im.dst), c.angle, 10.0,
                     20.0, 3 | IPPI_SMOOTH_EDGE),
              ippStsNoErr)
        << c.angle;
    EXPECT_EQ(im.dst.bytes, expected) << c.angle;
  }
}

TEST(RotateRightAngle, BoxOutsideTheDestinationRectangleWritesNothing) {
  WarpImages im(12, 9, 40, 40, 1);
  const std::vector<Ipp8u> before = im.dst.bytes;
  EXPECT_EQ(im.run(px_ippiRotate_8u_C1R, fc::test::rectOf(im.src), TFCImageRect{20, 0, 20, 40}, 90.0, 0.0, 20.0,
                   kNN),
            ippStsWrongIntersectROI);
  EXPECT_EQ(im.run(px_ippiRotate_8u_C1R, fc::test::rectOf(im.src), fc::test::rectOf(im.dst), 90.0, 1e300, 20.0,
                   kNN),
            ippStsWrongIntersectROI);
  EXPECT_EQ(im.dst.bytes, before);
}

TEST(RotateEngine, FractionalShiftAtARightAngleInterpolatesWithExactCoefficients) {
  WarpImages im(12, 9, 40, 40, 1);
  const std::vector<Ipp8u> before = im.dst.bytes;
  EXPECT_EQ(im.run(px_ippiRotate_8u_C1R, fc::test::rectOf(im.src), fc::test::rectOf(im.dst), 90.0, 10.5, 20.0, 3),
            ippStsInterpolationErr);
  ASSERT_EQ(im.run(px_ippiRotate_8u_C1R, fc::test::rectOf(im.src), fc::test::rectOf(im.dst), 90.0, 10.5, 20.0,
                   kLinear),
            ippStsNoErr);
  // (x', y') comes from x = 20 - y', y = x' - 10.5: halfway between two rows.
  for (int ty = 9; ty <= 20; ++ty)
    for (int tx = 11; tx <= 18; ++tx) {
      const double top = im.srcAt(20 - ty, tx - 11), bottom = im.srcAt(20 - ty, tx - 10);
      EXPECT_EQ(im.dstAt(tx, ty), static_cast<int>(top + 0.5 + (bottom - top) * 0.5)) << tx << "," << ty;
      im.dst.at(tx, ty)[0] = before[im.dst.offset(tx, ty)];
    }
  EXPECT_EQ(im.dst.bytes, before) << "pixels outside the picture were written";
}

TEST(RotateEngine, AngleZeroCopiesTheClippedSourceRectangleWithEveryKernel) {
  for (int kernel : {kNN, kLinear, kCubic}) {
    for (TFCImageRect srcRoi : {TFCImageRect{3, 2, 10, 8}, TFCImageRect{15, 10, 50, 50}}) {
      WarpImages im(20, 15, 30, 30, 3);
      std::vector<Ipp8u> expected = im.dst.bytes;
      const int x1 = std::min(srcRoi.x + srcRoi.width, 20), y1 = std::min(srcRoi.y + srcRoi.height, 15);
      for (int y = srcRoi.y; y < y1; ++y)
        for (int x = srcRoi.x; x < x1; ++x)
          for (int c = 0; c < 3; ++c) expected[im.dst.offset(x, y) + c] = im.srcAt(x, y, c);
      ASSERT_EQ(im.run(px_ippiRotate_8u_C3R, srcRoi, fc::test::rectOf(im.dst), 0.0, 0.0, 0.0, kernel), ippStsNoErr);
      EXPECT_EQ(im.dst.bytes, expected) << "kernel " << kernel << " roi x " << srcRoi.x;
    }
  }
}

TEST(WarpAffineChecks, FirstFailingCheckDecidesAndNothingIsWritten) {
  WarpImages im(16, 16, 16, 16, 1);
  const std::vector<Ipp8u> before = im.dst.bytes;
  const TFCImageRect all{0, 0, 16, 16};
  auto shear = [&](const Ipp8u* src, IppiSize size, int step, TFCImageRect srcRoi, TFCImageRect dstRoi, double xs,
                   double ys, double shiftX, int interpolation) {
    return px_ippiShear_8u_C1R(src, size, step, srcRoi, im.dst.data(), im.dst.step, dstRoi, xs, ys, shiftX, 0.0,
                               interpolation);
  };
  const Ipp8u* src = im.src.data();
  const int step = im.src.step;
  EXPECT_EQ(shear(nullptr, {0, 0}, 0, all, all, 1, 1, 0, 3), ippStsNullPtrErr);
  EXPECT_EQ(shear(src, {0, 16}, 0, all, all, 1, 1, 0, 3), ippStsSizeErr);
  EXPECT_EQ(shear(src, im.src.size(), step, all, TFCImageRect{0, -1, 4, 4}, 1, 1, 0, 3), ippStsSizeErr);
  EXPECT_EQ(shear(src, im.src.size(), 0, all, all, 1, 1, 0, 3), ippStsStepErr);
  EXPECT_EQ(shear(src, im.src.size(), step, all, all, 1, 1, 0, 3), ippStsInterpolationErr);
  EXPECT_EQ(shear(src, im.src.size(), step, TFCImageRect{16, 0, 4, 4}, all, 1, 1, 0, kNN), ippStsCoeffErr);
  EXPECT_EQ(shear(src, im.src.size(), step, TFCImageRect{16, 0, 4, 4}, all, 0.5, 0, 0, kNN),
            ippStsWrongIntersectROI);
  EXPECT_EQ(shear(src, im.src.size(), step, TFCImageRect{4, 0, 1, 16}, all, 0.5, 0, 0, kNN), ippStsRectErr);
  EXPECT_EQ(shear(src, im.src.size(), step, TFCImageRect{15, 0, 4, 16}, all, 0.5, 0, 0, kNN), ippStsRectErr);
  EXPECT_EQ(shear(src, im.src.size(), step, all, all, 0.5, 0, 100.0, kLinear | IPPI_SMOOTH_EDGE),
            ippStsWrongIntersectQuad);
  EXPECT_EQ(px_ippiRotate_8u_C1R(src, im.src.size(), step, all, im.dst.data(), im.dst.step, all, 30.0, -40.0, 0.0,
                                 kCubic),
            ippStsWrongIntersectQuad);
  EXPECT_EQ(px_ippiRotate_8u_C1R(src, im.src.size(), step, all, im.dst.data(), im.dst.step, all, 30.0, NAN, 0.0,
                                 kCubic),
            ippStsCoeffErr);
  EXPECT_EQ(im.dst.bytes, before);
}

// The forward image of the source rectangle's corners under a rotation.
void rotatedQuad(double angle, double xs, double ys, int w, int h, double quad[4][2]) {
  const double r = angle * 3.14159265358979323846 / 180, c = std::cos(r), s = std::sin(r);
  const int corners[4][2] = {{0, 0}, {w - 1, 0}, {w - 1, h - 1}, {0, h - 1}};
  for (int k = 0; k < 4; ++k) {
    quad[k][0] = c * corners[k][0] + s * corners[k][1] + xs;
    quad[k][1] = -s * corners[k][0] + c * corners[k][1] + ys;
  }
}

TEST(RotateEngine, WritesExactlyThePixelsWhoseCentresLieInThePictureAndTheRectangle) {
  const TFCImageRect dstRoi{5, 4, 50, 45};
  for (int kernel : {kNN, kLinear, kCubic}) {
    WarpImages im(40, 30, 64, 64, 1);
    fc::test::fill(im.src, 77);
    fc::test::fill(im.dst, 0);
    double xs = 0, ys = 0, quad[4][2];
    px_ippiGetRotateShift(20, 15, 30, &xs, &ys);
    xs += 10.3, ys += 12.6;
    rotatedQuad(30, xs, ys, 40, 30, quad);
    ASSERT_EQ(im.run(px_ippiRotate_8u_C1R, fc::test::rectOf(im.src), dstRoi, 30.0, xs, ys, kernel), ippStsNoErr);
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) {
        const bool inRect = x >= 5 && x < 55 && y >= 4 && y < 49;
        const double margin = fc::test::insideMargin(quad, x, y);
        if (inRect && margin > 1e-9) {
          EXPECT_EQ(im.dstAt(x, y), 77) << x << "," << y;
        } else if (!inRect || margin < -1e-9) {
          EXPECT_EQ(im.dstAt(x, y), 0) << x << "," << y;
        }
      }
  }
}

TEST(EdgeSmoothing, BlendsThePixelJustOutsideByTheEdgesDistance) {
  // A sheared picture: the left edge runs through x = 10.25 + 0.5 (y - 2).
  WarpImages im(8, 6, 32, 16, 3);
  fc::test::fill(im.src, 200);
  fc::test::fill(im.dst, 0);
  ASSERT_EQ(im.run(px_ippiShear_8u_C3R, fc::test::rectOf(im.src), fc::test::rectOf(im.dst), 0.5, 0.0, 10.25, 2.0,
                   kLinear | IPPI_SMOOTH_EDGE),
            ippStsNoErr);
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(im.dstAt(10, 2, c), 150);  // edge a quarter pixel from the outside pixel's centre
    EXPECT_EQ(im.dstAt(10, 3, c), 50);   // edge a quarter pixel from the inside pixel's centre
    EXPECT_EQ(im.dstAt(11, 4, c), 150);
    EXPECT_EQ(im.dstAt(18, 2, c), 50);   // right edge at 17.25
    EXPECT_EQ(im.dstAt(11, 2, c), 200);  // inside pixels keep their value
    EXPECT_EQ(im.dstAt(9, 2, c), 0);
    EXPECT_EQ(im.dstAt(12, 1, c), 0);    // horizontal edges are left alone
  }
}

TEST(EdgeSmoothing, TouchesOnlyPixelsJustOutsideThePictureAndInsideTheRectangle) {
  const TFCImageRect dstRoi{8, 8, 30, 30};
  WarpImages plain(40, 30, 48, 48, 3), smooth(40, 30, 48, 48, 3);
  double quad[4][2];
  rotatedQuad(30, 5.5, 22.25, 40, 30, quad);
  for (WarpImages* im : {&plain, &smooth}) fc::test::fill(im->src, 200);
  ASSERT_EQ(plain.run(px_ippiRotate_8u_C3R, fc::test::rectOf(plain.src), dstRoi, 30.0, 5.5, 22.25, kCubic),
            ippStsNoErr);
  ASSERT_EQ(smooth.run(px_ippiRotate_8u_C3R, fc::test::rectOf(smooth.src), dstRoi, 30.0, 5.5, 22.25,
                       kCubic | IPPI_SMOOTH_EDGE),
            ippStsNoErr);
  int blended = 0;
  for (int y = -3; y < 51; ++y)
    for (int x = -3; x < 51; ++x) {
      const std::size_t at = plain.dst.offset(x, y);
      if (plain.dst.bytes[at] == smooth.dst.bytes[at]) continue;
      ++blended;
      EXPECT_TRUE(x >= 8 && x < 38 && y >= 8 && y < 38) << x << "," << y;
      const double margin = fc::test::insideMargin(quad, x, y);
      EXPECT_LT(margin, 0.0) << x << "," << y;
      EXPECT_GT(margin, -1.0) << x << "," << y;
    }
  EXPECT_GT(blended, 10);
  // Padding bytes and the border around the image are untouched too.
  for (std::size_t i = 0; i < plain.dst.bytes.size(); ++i) {
    const int row = static_cast<int>(i / plain.dst.step) - 3;
    if (row < 8 || row >= 38) {
      ASSERT_EQ(plain.dst.bytes[i], smooth.dst.bytes[i]) << i;
    }
  }
}

}  // namespace
