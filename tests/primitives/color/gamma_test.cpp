#include <cfenv>
#include <cmath>

#include "tests/primitives/color/point_test_support.h"

namespace {

using fc::test::TestImage;

// The rule the tables come from, rounded to nearest with ties to even; the
// linear segments are exact (4.5 k and k / 4.5) so their ties are true ties.
int forwardByRule(int k) {
  const long double v = k / 255.0L;
  const long double y = v < 0.018L ? 4.5L * k : 255.0L * (1.099L * std::pow(v, 0.45L) - 0.099L);
  return static_cast<int>(std::nearbyint(y));
}

int inverseByRule(int k) {
  const long double v = k / 255.0L;
  const long double y = v < 0.0812L ? k / 4.5L : 255.0L * std::pow((v + 0.099L) / 1.099L, 1.0L / 0.45L);
  return static_cast<int>(std::nearbyint(y));
}

// Every byte value once, spread over a padded two-row image.
TestImage allByteValues() {
  TestImage image(43, 2, 3, 4, 1);
  for (int k = 0; k < 258; ++k) image.at(k / 3 % 43, k / 129)[k % 3] = static_cast<Ipp8u>(k % 256);
  return image;
}

Ipp8u byteValueAt(const TestImage& image, int k) { return image.data()[(k / 129) * image.step + k % 129]; }

TEST(Gamma, TablesFollowTheRuleWithTiesToEven) {
  ASSERT_EQ(std::fegetround(), FE_TONEAREST);
  const TestImage src = allByteValues();
  TestImage fwd = src, inv = src;
  ASSERT_EQ(ippiGammaFwd_8u_C3R(src.data(), src.step, fwd.data(), fwd.step, src.size()), ippStsNoErr);
  ASSERT_EQ(ippiGammaInv_8u_C3R(src.data(), src.step, inv.data(), inv.step, src.size()), ippStsNoErr);
  for (int k = 0; k < 256; ++k) {
    EXPECT_EQ(byteValueAt(fwd, k), forwardByRule(k)) << k;
    EXPECT_EQ(byteValueAt(inv, k), inverseByRule(k)) << k;
  }
  const int fwdStart[] = {0, 4, 9, 14, 18, 23, 27, 30}, invStart[] = {0, 0, 0, 1, 1, 1, 1, 2};
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(byteValueAt(fwd, k), fwdStart[k]);
    EXPECT_EQ(byteValueAt(inv, k), invStart[k]);
  }
  EXPECT_EQ(byteValueAt(fwd, 255), 255);
  EXPECT_EQ(byteValueAt(inv, 255), 255);
}

TEST(Gamma, InPlaceFormsMatchTheCopyingForms) {
  TestImage src(9, 4, 3, 3, 2);
  src.randomize(7);
  const std::pair<decltype(ippiGammaFwd_8u_C3R), decltype(ippiGammaFwd_8u_C3IR)> forms[] = {
      {ippiGammaFwd_8u_C3R, ippiGammaFwd_8u_C3IR}, {ippiGammaInv_8u_C3R, ippiGammaInv_8u_C3IR}};
  for (const auto& [copying, inPlace] : forms) {
    TestImage copied = src, changed = src;
    ASSERT_EQ(copying(src.data(), src.step, copied.data(), copied.step, src.size()), 0);
    ASSERT_EQ(inPlace(changed.data(), changed.step, src.size()), 0);
    EXPECT_EQ(changed.bytes, copied.bytes);
  }
}

TEST(Gamma, ChecksArgumentsInOrderAndWritesNothing) {
  fc::test::expectTwoImageChecks(ippiGammaFwd_8u_C3R);
  fc::test::expectTwoImageChecks(ippiGammaInv_8u_C3R);
  TestImage image(4, 2, 3);
  image.randomize(3);
  const auto before = image.bytes;
  for (auto* inPlace : {ippiGammaFwd_8u_C3IR, ippiGammaInv_8u_C3IR}) {
    EXPECT_EQ(inPlace(nullptr, 0, {0, 0}), ippStsNullPtrErr);
    EXPECT_EQ(inPlace(image.data(), 0, {4, 0}), ippStsSizeErr);
    EXPECT_EQ(inPlace(image.data(), 0, {4, 2}), ippStsStepErr);
  }
  EXPECT_EQ(image.bytes, before);
}

}  // namespace
