// Every published variant of the rotation, shear and warp entries gives px's
// status and bytes: both channel counts, every kernel with and without edge
// smoothing, odd sizes, padded steps, regions inside larger images and
// one-pixel regions.
#include <gtest/gtest.h>

#include <vector>

#include "tests/primitives/geometry/warp_test_support.h"
#include "tests/support/entry_variants.h"

namespace {

using fc::test::WarpImages;

struct Layout {
  int srcWidth, srcHeight;
  TFCImageRect srcRoi;
  int dstWidth, dstHeight;
  TFCImageRect dstRoi;
};

const Layout kLayouts[] = {
    {37, 29, {3, 2, 31, 25}, 41, 33, {2, 3, 37, 28}},  // regions inside larger images
    {37, 29, {30, 20, 50, 50}, 41, 33, {0, 0, 41, 33}},  // source region clipped by its image
    {5, 4, {0, 0, 5, 4}, 9, 7, {1, 1, 7, 5}},
    {37, 29, {4, 4, 1, 1}, 41, 33, {0, 0, 41, 33}},  // one-pixel source region
    {37, 29, {0, 0, 37, 29}, 41, 33, {20, 16, 1, 1}},  // one-pixel destination region
};

const int kInterpolations[] = {IPPI_INTER_NN, IPPI_INTER_LINEAR, IPPI_INTER_CUBIC,
                               IPPI_INTER_NN | IPPI_SMOOTH_EDGE, IPPI_INTER_LINEAR | IPPI_SMOOTH_EDGE,
                               IPPI_INTER_CUBIC | IPPI_SMOOTH_EDGE};

/// Runs every variant on the same images for every layout and interpolation;
/// `extra` are the arguments between the destination rectangle and the
/// interpolation.
template <typename Fn, typename... Extra>
void expectVariantsMatchPx(const std::vector<fc::test::NamedVariant<Fn>>& variants, int channels, Extra... extra) {
  for (const Layout& layout : kLayouts) {
    for (int interpolation : kInterpolations) {
      std::vector<Ipp8u> reference;
      IppStatus referenceStatus = 0;
      for (const auto& variant : variants) {
        WarpImages im(layout.srcWidth, layout.srcHeight, layout.dstWidth, layout.dstHeight, channels);
        const IppStatus status = im.run(variant.fn, layout.srcRoi, layout.dstRoi, extra..., interpolation);
        if (variant.tag == "px") {
          reference = im.dst.bytes;
          referenceStatus = status;
          continue;
        }
        EXPECT_EQ(status, referenceStatus) << variant.tag << " interpolation " << interpolation;
        EXPECT_EQ(im.dst.bytes, reference) << variant.tag << " interpolation " << interpolation;
      }
    }
  }
}

TEST(WarpVariants, RotationAndShearMatchPx) {
  for (double angle : {30.0, 90.0, -163.0}) {
    for (double xShift : {4.0, 4.5}) {
      expectVariantsMatchPx(fc::test::variantsOf_ippiRotate_8u_C3R(), 3, angle, xShift, 20.0);
      expectVariantsMatchPx(fc::test::variantsOf_ippiRotate_8u_C1R(), 1, angle, xShift, 20.0);
    }
  }
  expectVariantsMatchPx(fc::test::variantsOf_ippiShear_8u_C3R(), 3, 0.3, -0.2, 4.5, 6.25);
  expectVariantsMatchPx(fc::test::variantsOf_ippiShear_8u_C1R(), 1, 0.3, -0.2, 4.5, 6.25);
}

TEST(WarpVariants, PerspectiveAndBilinearWarpsMatchPx) {
  const double quad[4][2] = {{3.3, 2.8}, {35.7, 5.1}, {38.2, 30.4}, {1.6, 27.9}};
  const double reach[4][2] = {{-4.5, 2.25}, {30.5, -3.0}, {40.0, 33.5}, {1.0, 26.0}};
  double forward[3][3], backward[3][3], bilinear[2][4], bilinearBack[2][4];
  ASSERT_EQ(px_ippiGetPerspectiveTransform({3, 2, 31, 25}, quad, forward), ippStsNoErr);
  ASSERT_EQ(px_ippiGetPerspectiveTransform({0, 0, 41, 33}, reach, backward), ippStsNoErr);
  ASSERT_EQ(px_ippiGetBilinearTransform({3, 2, 31, 25}, quad, bilinear), ippStsNoErr);
  ASSERT_EQ(px_ippiGetBilinearTransform({0, 0, 41, 33}, reach, bilinearBack), ippStsNoErr);
  const double(*p)[3] = forward;
  const double(*pb)[3] = backward;
  const double(*b)[4] = bilinear;
  const double(*bb)[4] = bilinearBack;
  expectVariantsMatchPx(fc::test::variantsOf_ippiWarpPerspective_8u_C3R(), 3, p);
  expectVariantsMatchPx(fc::test::variantsOf_ippiWarpPerspective_8u_C1R(), 1, p);
  expectVariantsMatchPx(fc::test::variantsOf_ippiWarpPerspectiveBack_8u_C3R(), 3, pb);
  expectVariantsMatchPx(fc::test::variantsOf_ippiWarpPerspectiveBack_8u_C1R(), 1, pb);
  expectVariantsMatchPx(fc::test::variantsOf_ippiWarpBilinear_8u_C3R(), 3, b);
  expectVariantsMatchPx(fc::test::variantsOf_ippiWarpBilinear_8u_C1R(), 1, b);
  expectVariantsMatchPx(fc::test::variantsOf_ippiWarpBilinearBack_8u_C3R(), 3, bb);
  expectVariantsMatchPx(fc::test::variantsOf_ippiWarpBilinearBack_8u_C1R(), 1, bb);
}

TEST(WarpVariants, CoefficientGettersAndRotationShiftsMatchPx) {
  const double quad[4][2] = {{3.3, 2.8}, {35.7, 5.1}, {38.2, 30.4}, {1.6, 27.9}};
  for (const auto& v : fc::test::variantsOf_ippiGetRotateShift()) {
    double x = 0, y = 0;
    EXPECT_EQ(v.fn(12.5, -3.0, 33.0, &x, &y), ippStsNoErr) << v.tag;
    double px = 0, py = 0;
    px_ippiGetRotateShift(12.5, -3.0, 33.0, &px, &py);
    EXPECT_EQ(x, px) << v.tag;
    EXPECT_EQ(y, py) << v.tag;
  }
  double reference3[3][3], reference2[2][4];
  px_ippiGetPerspectiveTransform({3, 2, 31, 25}, quad, reference3);
  px_ippiGetBilinearTransform({3, 2, 31, 25}, quad, reference2);
  for (const auto& v : fc::test::variantsOf_ippiGetPerspectiveTransform()) {
    double c[3][3];
    ASSERT_EQ(v.fn({3, 2, 31, 25}, quad, c), ippStsNoErr) << v.tag;
    for (int i = 0; i < 9; ++i) EXPECT_EQ(c[i / 3][i % 3], reference3[i / 3][i % 3]) << v.tag;
  }
  for (const auto& v : fc::test::variantsOf_ippiGetBilinearTransform()) {
    double c[2][4];
    ASSERT_EQ(v.fn({3, 2, 31, 25}, quad, c), ippStsNoErr) << v.tag;
    for (int i = 0; i < 8; ++i) EXPECT_EQ(c[i / 4][i % 4], reference2[i / 4][i % 4]) << v.tag;
  }
}

}  // namespace
