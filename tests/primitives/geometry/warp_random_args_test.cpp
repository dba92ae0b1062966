// Random coefficients, rectangles and interpolation values: no warp entry
// crashes, reads outside the source image or writes outside its
// destination rectangle, and an error or warning status leaves the
// destination as it was.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tests/primitives/geometry/warp_test_support.h"

namespace {

using fc::test::WarpImages;

struct Draw {
  std::mt19937 rng{5};

  double uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); }
  int integer(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
  bool rarely() { return rng() % 10 == 0; }

  /// Mostly a valid rectangle inside a 24 x 24 image (half the time all of
  /// it), sometimes an odd one.
  TFCImageRect rect() {
    if (rng() % 2) return {0, 0, 24, 24};
    if (rarely()) return {integer(-2, 26), integer(-2, 26), integer(-1, 30), integer(-1, 30)};
    const int x = integer(0, 20), y = integer(0, 20);
    return {x, y, integer(1, 24 - x), integer(1, 24 - y)};
  }

  /// A value near `typical`, sometimes an extreme one.
  double near(double typical, double spread) {
    if (rng() % 50 != 0) return typical + uniform(-spread, spread);
    const double extremes[] = {0.0, 1e6, -1e6, 1e-13, std::nan("")};
    return extremes[rng() % 5];
  }
};

TEST(WarpRandomArguments, NeverTouchAnythingOutsideTheDestinationRectangle) {
  Draw draw;
  const int interpolations[] = {1, 2, 4, 3, IPPI_INTER_NN | IPPI_SMOOTH_EDGE, IPPI_INTER_LINEAR | IPPI_SMOOTH_EDGE,
                                IPPI_INTER_CUBIC | IPPI_SMOOTH_EDGE};
  int drawn = 0;
  for (int round = 0; round < 4000; ++round) {
    const int channels = round % 2 ? 3 : 1;
    const bool three = channels == 3;
    const bool oddSource = draw.rarely();
    WarpImages im(oddSource ? draw.integer(1, 24) : 24, oddSource ? draw.integer(1, 24) : 24, 24, 24, channels);
    const TFCImageRect srcRoi = draw.rect(), dstRoi = draw.rect();
    if (dstRoi.x + dstRoi.width > 24 || dstRoi.y + dstRoi.height > 24) continue;  // beyond the buffer
    const int interpolation = interpolations[draw.rng() % 7];
    const double perspective[3][3] = {{draw.near(1, 0.4), draw.near(0, 0.4), draw.near(3, 8)},
                                      {draw.near(0, 0.4), draw.near(1, 0.4), draw.near(3, 8)},
                                      {draw.near(0, 0.02), draw.near(0, 0.02), draw.near(1, 0.2)}};
    const double bilinear[2][4] = {{draw.near(0, 0.02), draw.near(1, 0.4), draw.near(0, 0.4), draw.near(3, 8)},
                                   {draw.near(0, 0.02), draw.near(0, 0.4), draw.near(1, 0.4), draw.near(3, 8)}};
    const std::vector<Ipp8u> before = im.dst.bytes;
    IppStatus status = 0;
    switch (round % 6) {
      case 0: {
        const double angle = draw.rarely() ? draw.integer(-8, 8) * 90.0 : draw.uniform(-400, 400);
        status = im.run(three ? px_ippiRotate_8u_C3R : px_ippiRotate_8u_C1R, srcRoi, dstRoi, angle,
                        std::round(draw.near(8, 16)), draw.near(8, 16), interpolation);
        break;
      }
      case 1:
        status = im.run(three ? px_ippiShear_8u_C3R : px_ippiShear_8u_C1R, srcRoi, dstRoi, draw.near(0, 1),
                        draw.near(0, 1), draw.near(3, 8), draw.near(3, 8), interpolation);
        break;
      case 2:
        status = im.run(three ? px_ippiWarpPerspective_8u_C3R : px_ippiWarpPerspective_8u_C1R, srcRoi, dstRoi,
                        perspective, interpolation);
        break;
      case 3:
        status = im.run(three ? px_ippiWarpPerspectiveBack_8u_C3R : px_ippiWarpPerspectiveBack_8u_C1R, srcRoi,
                        dstRoi, perspective, interpolation);
        break;
      case 4:
        status = im.run(three ? px_ippiWarpBilinear_8u_C3R : px_ippiWarpBilinear_8u_C1R, srcRoi, dstRoi, bilinear,
                        interpolation);
        break;
      default:
        status = im.run(three ? px_ippiWarpBilinearBack_8u_C3R : px_ippiWarpBilinearBack_8u_C1R, srcRoi, dstRoi,
                        bilinear, interpolation);
    }
    drawn += status == ippStsNoErr;
    for (int y = -3; y < 27; ++y)
      for (int x = -3; x < 27; ++x) {
        const bool inRect = status == ippStsNoErr && x >= dstRoi.x && x < dstRoi.x + dstRoi.width &&
                            y >= dstRoi.y && y < dstRoi.y + dstRoi.height;
        if (inRect) continue;
        for (int ch = 0; ch < channels; ++ch)
          ASSERT_EQ(im.dst.bytes[im.dst.offset(x, y) + ch], before[im.dst.offset(x, y) + ch])
              << "round " << round << " status " << status << " at " << x << "," << y;
      }
  }
  EXPECT_GT(drawn, 1000);
}

}  // namespace
