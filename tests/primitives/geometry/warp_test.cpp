// Perspective and bilinear warps and their coefficient getters: getter
// results and checks, the pixels each warp writes and where it samples them.
#include <gtest/gtest.h>

#include <vector>

#include "tests/primitives/geometry/warp_test_support.h"

namespace {

using fc::test::WarpImages;

constexpr int kNN = IPPI_INTER_NN, kLinear = IPPI_INTER_LINEAR, kCubic = IPPI_INTER_CUBIC;

void applyPerspective(const double c[3][3], double x, double y, double* ox, double* oy) {
  const double w = c[2][0] * x + c[2][1] * y + c[2][2];
  *ox = (c[0][0] * x + c[0][1] * y + c[0][2]) / w;
  *oy = (c[1][0] * x + c[1][1] * y + c[1][2]) / w;
}

void applyBilinear(const double c[2][4], double x, double y, double* ox, double* oy) {
  *ox = c[0][0] * x * y + c[0][1] * x + c[0][2] * y + c[0][3];
  *oy = c[1][0] * x * y + c[1][1] * x + c[1][2] * y + c[1][3];
}

void invert(const double m[3][3], double inv[3][3]) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      const int r0 = (j + 1) % 3, r1 = (j + 2) % 3, c0 = (i + 1) % 3, c1 = (i + 2) % 3;
      inv[i][j] = m[r0][c0] * m[r1][c1] - m[r0][c1] * m[r1][c0];
    }
}

// A source whose pixels tell where they are: channel 0 = 4x, 1 = 4y, 2 = 255.
WarpImages codedImages(int srcSize, int dstSize) {
  WarpImages im(srcSize, srcSize, dstSize, dstSize, 3);
  for (int y = 0; y < srcSize; ++y)
    for (int x = 0; x < srcSize; ++x) {
      im.src.at(x, y)[0] = static_cast<Ipp8u>(4 * x);
      im.src.at(x, y)[1] = static_cast<Ipp8u>(4 * y);
      im.src.at(x, y)[2] = 255;
    }
  fc::test::fill(im.dst, 0);
  return im;
}

const double kQuad[4][2] = {{6.3, 4.8}, {52.7, 9.1}, {57.2, 55.4}, {3.6, 49.9}};
const TFCImageRect kSrcRect{0, 0, 60, 60};
// Backward map: the corners of a 64 x 64 destination go to a quadrangle
// reaching outside the 60 x 60 source.
const double kReach[4][2] = {{-8.5, 4.25}, {50.5, -6.0}, {66.0, 70.5}, {3.0, 52.0}};

// The corners of the rectangle {4, 7, 30, 20} go onto kQuad.
template <typename Map>
void expectCornersMapOntoTheQuad(Map map) {
  const double rect[4][2] = {{4, 7}, {33, 7}, {33, 26}, {4, 26}};
  for (int k = 0; k < 4; ++k) {
    double x = 0, y = 0;
    map(rect[k][0], rect[k][1], &x, &y);
    EXPECT_NEAR(x, kQuad[k][0], 1e-9) << k;
    EXPECT_NEAR(y, kQuad[k][1], 1e-9) << k;
  }
}

TEST(GetPerspectiveTransform, RectangleCornersGiveTheIdentityAndCornersMapOntoThePoints) {
  const double corners[4][2] = {{2, 3}, {11, 3}, {11, 10}, {2, 10}};
  double c[3][3];
  ASSERT_EQ(px_ippiGetPerspectiveTransform({2, 3, 10, 8}, corners, c), ippStsNoErr);
  const double identity[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(c[i][j], identity[i][j], 1e-15) << i << j;

  ASSERT_EQ(px_ippiGetPerspectiveTransform({4, 7, 30, 20}, kQuad, c), ippStsNoErr);
  expectCornersMapOntoTheQuad([&](double x, double y, double* ox, double* oy) { applyPerspective(c, x, y, ox, oy); });
}

TEST(GetBilinearTransform, ParallelogramIsAffineAndCornersMapOntoThePoints) {
  const double parallelogram[4][2] = {{10, 5}, {30, 9}, {26, 29}, {6, 25}};
  double c[2][4];
  ASSERT_EQ(px_ippiGetBilinearTransform({0, 0, 21, 16}, parallelogram, c), ippStsNoErr);
  EXPECT_EQ(c[0][0], 0.0);
  EXPECT_EQ(c[1][0], 0.0);
  ASSERT_EQ(px_ippiGetBilinearTransform({4, 7, 30, 20}, kQuad, c), ippStsNoErr);
  expectCornersMapOntoTheQuad([&](double x, double y, double* ox, double* oy) { applyBilinear(c, x, y, ox, oy); });
}

TEST(CoefficientGetters, RejectBadArgumentsInOrderAndKeepTheCoefficients) {
  const double bowTie[4][2] = {{0, 0}, {10, 10}, {10, 0}, {0, 10}};
  const double collinear[4][2] = {{0, 0}, {5, 0}, {10, 0}, {0, 10}};
  double p[3][3] = {{7}}, b[2][4] = {{7}};
  EXPECT_EQ(px_ippiGetPerspectiveTransform({-1, 0, 0, 0}, nullptr, p), ippStsNullPtrErr);
  EXPECT_EQ(px_ippiGetPerspectiveTransform({0, 0, 5, 5}, kQuad, nullptr), ippStsNullPtrErr);
  EXPECT_EQ(px_ippiGetBilinearTransform({-1, 0, 0, 0}, nullptr, b), ippStsNullPtrErr);
  EXPECT_EQ(px_ippiGetBilinearTransform({0, 0, 5, 5}, kQuad, nullptr), ippStsNullPtrErr);
  EXPECT_EQ(px_ippiGetPerspectiveTransform({-1, 0, 5, 5}, bowTie, p), ippStsSizeErr);
  EXPECT_EQ(px_ippiGetBilinearTransform({0, 0, 5, 0}, bowTie, b), ippStsSizeErr);
  EXPECT_EQ(px_ippiGetPerspectiveTransform({0, 0, 1, 5}, bowTie, p), ippStsQuadErr);
  EXPECT_EQ(px_ippiGetPerspectiveTransform({0, 0, 5, 5}, collinear, p), ippStsQuadErr);
  EXPECT_EQ(px_ippiGetBilinearTransform({0, 0, 5, 5}, bowTie, b), ippStsQuadErr);
  EXPECT_EQ(px_ippiGetBilinearTransform({0, 0, 5, 5}, collinear, b), ippStsQuadErr);
  EXPECT_EQ(px_ippiGetPerspectiveTransform({3, 0, 1, 5}, kQuad, p), ippStsRectErr);
  EXPECT_EQ(px_ippiGetBilinearTransform({0, 3, 5, 1}, kQuad, b), ippStsRectErr);
  EXPECT_EQ(p[0][0], 7.0);
  EXPECT_EQ(b[0][0], 7.0);
}

using PerspectiveFn = decltype(px_ippiWarpPerspective_8u_C3R);
using BilinearFn = decltype(px_ippiWarpBilinear_8u_C3R);

TEST(Warps, IdentityCopiesTheClippedSourceRectangleWithEveryKernel) {
  const double identity3[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  const double identity2[2][4] = {{0, 1, 0, 0}, {0, 0, 1, 0}};
  const TFCImageRect srcRoi{3, 2, 10, 8};
  for (int kernel : {kNN, kLinear, kCubic}) {
    for (int which = 0; which < 4; ++which) {
      WarpImages im(20, 15, 30, 30, 3);
      std::vector<Ipp8u> expected = im.dst.bytes;
      for (int y = 2; y < 10; ++y)
        for (int x = 3; x < 13; ++x)
          for (int c = 0; c < 3; ++c) expected[im.dst.offset(x, y) + c] = im.srcAt(x, y, c);
      PerspectiveFn* perspective[] = {px_ippiWarpPerspective_8u_C3R, px_ippiWarpPerspectiveBack_8u_C3R};
      BilinearFn* bilinear[] = {px_ippiWarpBilinear_8u_C3R, px_ippiWarpBilinearBack_8u_C3R};
      const IppStatus status = which < 2 ? im.run(perspective[which], srcRoi, fc::test::rectOf(im.dst), identity3, kernel)
                                         : im.run(bilinear[which - 2], srcRoi, fc::test::rectOf(im.dst), identity2, kernel);
      ASSERT_EQ(status, ippStsNoErr) << which;
      EXPECT_EQ(im.dst.bytes, expected) << "warp " << which << " kernel " << kernel;
    }
  }
}

TEST(Warps, RejectBadCoefficientsAndMissedDestinationsWithoutWriting) {
  WarpImages im(16, 16, 16, 16, 1);
  const std::vector<Ipp8u> before = im.dst.bytes;
  const TFCImageRect all{0, 0, 16, 16};
  const double noC22[3][3] = {{1, 0, 0}, {0, 1, 0}, {0.001, 0, 0}};
  const double singular3[3][3] = {{1, 2, 0}, {2, 4, 0}, {0, 0, 1}};
  const double farAway[3][3] = {{1, 0, 40}, {0, 1, 0}, {0, 0, 1}};
  const double singular2[2][4] = {{0, 1, 2, 0}, {0, 2, 4, 0}};
  const double farAway2[2][4] = {{0, 1, 0, 0}, {0, 0, 1, -40}};
  const double identity2[2][4] = {{0, 1, 0, 0}, {0, 0, 1, 0}};
  // A forward map whose denominator changes sign over the source rectangle
  // sends it to no bounded quadrangle.
  const double acrossHorizon[3][3] = {{1, 0, 0}, {0, 1, 0}, {0.1, 0, -1}};
  EXPECT_EQ(im.run(px_ippiWarpPerspective_8u_C1R, all, all, acrossHorizon, kNN), ippStsCoeffErr);
  for (auto* fn : {px_ippiWarpPerspective_8u_C1R, px_ippiWarpPerspectiveBack_8u_C1R}) {
    EXPECT_EQ(im.run(fn, all, all, noC22, kLinear), ippStsCoeffErr);
    EXPECT_EQ(im.run(fn, all, all, singular3, kLinear), ippStsCoeffErr);
    EXPECT_EQ(im.run(fn, all, all, farAway, kLinear | IPPI_SMOOTH_EDGE), ippStsWrongIntersectQuad);
    EXPECT_EQ(im.run(fn, TFCImageRect{5, 0, 1, 16}, all, farAway, kLinear), ippStsRectErr);
    EXPECT_EQ(im.run(fn, all, all, nullptr, kLinear), ippStsNullPtrErr);
    EXPECT_EQ(im.run(fn, all, all, farAway, 8), ippStsInterpolationErr);
  }
  for (auto* fn : {px_ippiWarpBilinear_8u_C1R, px_ippiWarpBilinearBack_8u_C1R}) {
    EXPECT_EQ(im.run(fn, all, all, singular2, kCubic), ippStsCoeffErr);
    EXPECT_EQ(im.run(fn, all, all, farAway2, kCubic | IPPI_SMOOTH_EDGE), ippStsWrongIntersectQuad);
    EXPECT_EQ(im.run(fn, TFCImageRect{0, 15, 16, 3}, all, identity2, kCubic), ippStsRectErr);
    EXPECT_EQ(im.run(fn, all, all, nullptr, kCubic), ippStsNullPtrErr);
  }
  // A destination rectangle one row high maps to a degenerate source quadrangle.
  EXPECT_EQ(im.run(px_ippiWarpBilinearBack_8u_C1R, all, TFCImageRect{0, 3, 16, 1}, identity2, kNN), ippStsCoeffErr);
  EXPECT_EQ(im.dst.bytes, before);
}

// Checks a warp of the coded source: pixels well inside `quad` are written,
// pixels well outside it are not, and each written pixel's source position,
// mapped forward, lands within `tolerance` of it.
template <typename Forward>
void expectSampledFromTheRightPlace(WarpImages& im, const double quad[4][2], Forward forward, double tolerance) {
  int written = 0;
  for (int y = 0; y < im.dst.height; ++y)
    for (int x = 0; x < im.dst.width; ++x) {
      const double margin = fc::test::insideMargin(quad, x, y);
      const bool isWritten = im.dstAt(x, y, 2) == 255;
      if (margin > 1e-6) {
        EXPECT_TRUE(isWritten) << x << "," << y;
      } else if (margin < -1e-6) {
        EXPECT_FALSE(isWritten) << x << "," << y;
      }
      if (!isWritten) continue;
      ++written;
      double fx = 0, fy = 0;
      forward(im.dstAt(x, y, 0) / 4.0, im.dstAt(x, y, 1) / 4.0, &fx, &fy);
      EXPECT_NEAR(fx, x, tolerance) << x << "," << y;
      EXPECT_NEAR(fy, y, tolerance) << x << "," << y;
    }
  EXPECT_GT(written, 1500);
}

TEST(Warps, ForwardAndBackwardWarpsSampleWhereTheMapSays) {
  double p[3][3], pInverse[3][3], b[2][4];
  ASSERT_EQ(px_ippiGetPerspectiveTransform(kSrcRect, kQuad, p), ippStsNoErr);
  ASSERT_EQ(px_ippiGetBilinearTransform(kSrcRect, kQuad, b), ippStsNoErr);
  invert(p, pInverse);
  auto perspective = [&](double x, double y, double* ox, double* oy) { applyPerspective(p, x, y, ox, oy); };
  auto bilinear = [&](double x, double y, double* ox, double* oy) { applyBilinear(b, x, y, ox, oy); };
  WarpImages forward = codedImages(60, 64), backward = codedImages(60, 64), bi = codedImages(60, 64);
  ASSERT_EQ(forward.run(px_ippiWarpPerspective_8u_C3R, kSrcRect, fc::test::rectOf(forward.dst), p, kNN), ippStsNoErr);
  ASSERT_EQ(backward.run(px_ippiWarpPerspectiveBack_8u_C3R, kSrcRect, fc::test::rectOf(backward.dst), pInverse, kNN),
            ippStsNoErr);
  ASSERT_EQ(bi.run(px_ippiWarpBilinear_8u_C3R, kSrcRect, fc::test::rectOf(bi.dst), b, kNN), ippStsNoErr);
  expectSampledFromTheRightPlace(forward, kQuad, perspective, 1.0);
  expectSampledFromTheRightPlace(backward, kQuad, perspective, 1.0);
  expectSampledFromTheRightPlace(bi, kQuad, bilinear, 1.0);
}

TEST(Warps, BackwardBilinearWritesThePixelsThatMapIntoTheSourceRectangle) {
  double b[2][4];
  ASSERT_EQ(px_ippiGetBilinearTransform({0, 0, 64, 64}, kReach, b), ippStsNoErr);
  WarpImages im = codedImages(60, 64);
  ASSERT_EQ(im.run(px_ippiWarpBilinearBack_8u_C3R, kSrcRect, fc::test::rectOf(im.dst), b, kNN), ippStsNoErr);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      double sx = 0, sy = 0;
      applyBilinear(b, x, y, &sx, &sy);
      const bool inside = sx >= 0 && sx <= 59 && sy >= 0 && sy <= 59;
      ASSERT_EQ(im.dstAt(x, y, 2) == 255, inside) << x << "," << y;
      if (!inside) continue;
      EXPECT_NEAR(im.dstAt(x, y, 0) / 4.0, sx, 0.5 + 1e-9);
      EXPECT_NEAR(im.dstAt(x, y, 1) / 4.0, sy, 0.5 + 1e-9);
    }
}

TEST(Warps, BackwardPerspectiveAcrossTheHorizonFollowsThePixelRule) {
  // The denominator 0.05 x - 1 changes sign inside the destination rectangle:
  // the mapped corners form no usable quadrangle, and pixels on both sides of
  // x = 20 map into the source.
  const double c[3][3] = {{1, 0, 0}, {0, 1, 0}, {0.05, 0, -1}};
  WarpImages im = codedImages(60, 64);
  ASSERT_EQ(im.run(px_ippiWarpPerspectiveBack_8u_C3R, kSrcRect, fc::test::rectOf(im.dst), c, kNN), ippStsNoErr);
  int written = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      double sx = 0, sy = 0;
      applyPerspective(c, x, y, &sx, &sy);
      const bool inside = sx >= 0 && sx <= 59 && sy >= 0 && sy <= 59;
      ASSERT_EQ(im.dstAt(x, y, 2) == 255, inside) << x << "," << y;
      written += inside;
    }
  EXPECT_EQ(im.dstAt(0, 0, 2), 255);
  EXPECT_GT(written, 100);
}

TEST(Warps, TwoPerspectivePicturesSharingAnEdgeNeitherOverlapNorLeaveAGap) {
  const double left[4][2] = {{4.3, 5.2}, {30.7, 8.1}, {33.2, 50.9}, {2.4, 47.3}};
  const double right[4][2] = {{30.7, 8.1}, {60.2, 2.5}, {58.5, 58.1}, {33.2, 50.9}};
  const double* quads[] = {&left[0][0], &right[0][0]};
  WarpImages a(24, 24, 64, 64, 1), b(24, 24, 64, 64, 1);
  WarpImages* images[] = {&a, &b};
  for (int i = 0; i < 2; ++i) {
    fc::test::fill(images[i]->src, 200);
    fc::test::fill(images[i]->dst, 0);
    double c[3][3];
    ASSERT_EQ(px_ippiGetPerspectiveTransform({0, 0, 24, 24}, reinterpret_cast<const double(*)[2]>(quads[i]), c),
              ippStsNoErr);
    ASSERT_EQ(images[i]->run(px_ippiWarpPerspective_8u_C1R, TFCImageRect{0, 0, 24, 24},
                             fc::test::rectOf(images[i]->dst), c, kLinear),
              ippStsNoErr);
  }
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const int count = (a.dstAt(x, y) != 0) + (b.dstAt(x, y) != 0);
      EXPECT_LE(count, 1) << x << "," << y;
      if (fc::test::insideMargin(left, x, y) > 1e-9 || fc::test::insideMargin(right, x, y) > 1e-9) {
        EXPECT_EQ(count, 1) << x << "," << y;
      }
    }
}

TEST(Warps, SmoothingNeverWritesOutsideTheDestinationRectangle) {
  double p[3][3], pInverse[3][3], b[2][4], bBack[2][4];
  ASSERT_EQ(px_ippiGetPerspectiveTransform(kSrcRect, kQuad, p), ippStsNoErr);
  ASSERT_EQ(px_ippiGetBilinearTransform(kSrcRect, kQuad, b), ippStsNoErr);
  ASSERT_EQ(px_ippiGetBilinearTransform({0, 0, 64, 64}, kReach, bBack), ippStsNoErr);
  invert(p, pInverse);
  const TFCImageRect dstRoi{1, 20, 39, 44};  // cuts the picture on two sides
  for (int which = 0; which < 4; ++which) {
    WarpImages plain(60, 60, 64, 64, 3), smooth(60, 60, 64, 64, 3);
    auto run = [&](WarpImages& im, int interpolation) {
      switch (which) {
        case 0: return im.run(px_ippiWarpPerspective_8u_C3R, kSrcRect, dstRoi, p, interpolation);
        case 1: return im.run(px_ippiWarpPerspectiveBack_8u_C3R, kSrcRect, dstRoi, pInverse, interpolation);
        case 2: return im.run(px_ippiWarpBilinear_8u_C3R, kSrcRect, dstRoi, b, interpolation);
        default: return im.run(px_ippiWarpBilinearBack_8u_C3R, kSrcRect, dstRoi, bBack, interpolation);
      }
    };
    ASSERT_EQ(run(plain, kLinear), ippStsNoErr);
    ASSERT_EQ(run(smooth, kLinear | IPPI_SMOOTH_EDGE), ippStsNoErr);
    int blended = 0;
    for (int y = -3; y < 67; ++y)
      for (int x = -3; x < 67; ++x) {
        if (plain.dst.bytes[plain.dst.offset(x, y)] == smooth.dst.bytes[smooth.dst.offset(x, y)]) continue;
        ++blended;
        EXPECT_TRUE(x >= 1 && x < 40 && y >= 20 && y < 64) << which << ": " << x << "," << y;
      }
    EXPECT_GT(blended, 0) << which;
  }
}

}  // namespace
