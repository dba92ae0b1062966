// BGR to Lab finds its cube roots with a vectorised estimate and falls back to
// the C library's power where the estimate could tip a result. Over every
// 8-bit colour the result must be what the power alone gives.
#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "dispatch/primitives.h"

#include "primitives/color/lab_kernels.h"

namespace fc::test {
namespace {

TEST(BgrToLab, EveryColourMatchesTheLibraryPower) {
  constexpr int kWidth = 4096, kHeight = 4096;
  std::vector<Ipp8u> colours(3 * kWidth * kHeight), converted(colours.size());
  for (std::size_t i = 0; i < colours.size() / 3; ++i) {
    colours[3 * i] = static_cast<Ipp8u>(i >> 16);
    colours[3 * i + 1] = static_cast<Ipp8u>(i >> 8);
    colours[3 * i + 2] = static_cast<Ipp8u>(i);
  }
  ASSERT_EQ(px_ippiBGRToLab_8u_C3R(colours.data(), 3 * kWidth, converted.data(), 3 * kWidth, {kWidth, kHeight}),
            ippStsNoErr);
  std::size_t mismatches = 0;
  for (std::size_t p = 0; p < colours.size(); p += 3) {
    const color::Tristimulus t = color::tristimulusOf(colours[p + 2], colours[p + 1], colours[p]);
    const float x = t.x / color::kWhiteX, y = t.y / color::kWhiteY, z = t.z / color::kWhiteZ;
    const color::LabValues v = color::labValuesOf(y, color::labCurve(x), color::labCurve(y), color::labCurve(z));
    if (converted[p] != color::truncLimited(v.l) || converted[p + 1] != color::truncLimited(v.a) ||
        converted[p + 2] != color::truncLimited(v.b))
      ++mismatches;
  }
  EXPECT_EQ(mismatches, 0u);
}

}  // namespace
}  // namespace fc::test
