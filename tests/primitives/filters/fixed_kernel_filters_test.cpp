// Fixed-kernel filters: every variant against a direct convolution with the
// full kernel, argument checks and their order, rounding and sign cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/entry_variants.h"
#include "tests/support/test_image.h"

namespace {

using fc::test::TestImage;

using FilterCall = std::function<IppStatus(const Ipp8u*, int, Ipp8u*, int, IppiSize)>;

struct NamedCall {
  std::string tag;
  FilterCall call;
};

template <typename Fn>
std::vector<NamedCall> calls(const std::vector<fc::test::NamedVariant<Fn>>& variants) {
  std::vector<NamedCall> out;
  for (const auto& v : variants) out.push_back({v.tag, v.fn});
  return out;
}

template <typename Fn>
std::vector<NamedCall> callsWithMask(const std::vector<fc::test::NamedVariant<Fn>>& variants, int mask) {
  std::vector<NamedCall> out;
  for (const auto& v : variants)
    out.push_back({v.tag, [fn = v.fn, mask](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize r) {
                     return fn(s, ss, d, ds, r, mask);
                   }});
  return out;
}

int saturate(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }
int nearestTiesToEven(double v) { return static_cast<int>(std::nearbyint(v)); }

// The smoothing filters' results are the weighed sum divided by the kernel's
// odd total, to the nearest integer (an odd divisor never ties), computed
// exactly in integers rather than with the filters' own scaled constants.
std::function<int(int)> nearestQuotient(int divisor) {
  return [divisor](int sum) { return (sum + divisor / 2) / divisor; };
}

// A filter as a full kernel (rows dy = -r..r, columns dx = -r..r) and the
// rule that turns the weighed sum into the destination byte.
struct FilterCase {
  std::string name;
  std::vector<NamedCall> variants;
  int radius;
  std::vector<int> kernel;
  std::function<int(int)> finish;
  friend void PrintTo(const FilterCase& filter, std::ostream* os) { *os << filter.name; }
};

std::vector<int> flat(int size, int centre) {
  std::vector<int> k(size * size, -1);
  k[size * size / 2] = centre;
  return k;
}

const std::vector<int> kGauss5x5 = {2,  7,  12, 7,  2,  7,  31, 52, 31, 7,  12, 52, 127,
                                    52, 12, 7,  31, 52, 31, 7,  2,  7,  12, 7,  2};
const std::vector<int> kLaplace5x5 = {-1, -3, -4, -3, -1, -3, 0, 6, 0, -3, -4, 6, 20,
                                      6,  -4, -3, 0,  6,  0,  -3, -1, -3, -4, -3, -1};

std::vector<FilterCase> allFilters() {
  using namespace fc::test;
  const auto sharpen = [](int v) { return v <= 0 ? 0 : std::min(255, nearestTiesToEven(v / 8.0)); };
  return {
      {"PrewittHoriz", calls(variantsOf_ippiFilterPrewittHoriz_8u_C3R()), 1, {-1, -1, -1, 0, 0, 0, 1, 1, 1}, saturate},
      {"PrewittVert", calls(variantsOf_ippiFilterPrewittVert_8u_C3R()), 1, {1, 0, -1, 1, 0, -1, 1, 0, -1}, saturate},
      {"SobelHoriz", calls(variantsOf_ippiFilterSobelHoriz_8u_C3R()), 1, {-1, -2, -1, 0, 0, 0, 1, 2, 1}, saturate},
      {"SobelVert", calls(variantsOf_ippiFilterSobelVert_8u_C3R()), 1, {1, 0, -1, 2, 0, -2, 1, 0, -1}, saturate},
      {"RobertsDown", calls(variantsOf_ippiFilterRobertsDown_8u_C3R()), 1, {-1, 0, 0, 0, 1, 0, 0, 0, 0}, saturate},
      {"RobertsUp", calls(variantsOf_ippiFilterRobertsUp_8u_C3R()), 1, {0, 0, -1, 0, 1, 0, 0, 0, 0}, saturate},
      {"Sharpen", calls(variantsOf_ippiFilterSharpen_8u_C3R()), 1, flat(3, 16), sharpen},
      {"Laplace3x3", callsWithMask(variantsOf_ippiFilterLaplace_8u_C3R(), 33), 1, flat(3, 8), saturate},
      {"Laplace5x5", callsWithMask(variantsOf_ippiFilterLaplace_8u_C3R(), 55), 2, kLaplace5x5, saturate},
      {"Hipass3x3", callsWithMask(variantsOf_ippiFilterHipass_8u_C3R(), 33), 1, flat(3, 8), saturate},
      {"Hipass5x5", callsWithMask(variantsOf_ippiFilterHipass_8u_C3R(), 55), 2, flat(5, 24), saturate},
      {"Lowpass3x3", callsWithMask(variantsOf_ippiFilterLowpass_8u_C3R(), 33), 1, std::vector<int>(9, 1),
       nearestQuotient(9)},
      {"Lowpass5x5", callsWithMask(variantsOf_ippiFilterLowpass_8u_C3R(), 55), 2, std::vector<int>(25, 1),
       nearestQuotient(25)},
      {"Gauss3x3", callsWithMask(variantsOf_ippiFilterGauss_8u_C3R(), 33), 1, {1, 2, 1, 2, 4, 2, 1, 2, 1},
       [](int v) { return nearestTiesToEven(v / 16.0); }},
      {"Gauss5x5", callsWithMask(variantsOf_ippiFilterGauss_8u_C3R(), 55), 2, kGauss5x5,
       nearestQuotient(571)},
  };
}

// Writes the reference result into the region of `expected`.
void convolve(const FilterCase& filter, const TestImage& src, TestImage& expected) {
  const int size = 2 * filter.radius + 1;
  for (int y = 0; y < src.height; ++y)
    for (int x = 0; x < src.width; ++x)
      for (int c = 0; c < 3; ++c) {
        int v = 0;
        for (int dy = -filter.radius; dy <= filter.radius; ++dy)
          for (int dx = -filter.radius; dx <= filter.radius; ++dx)
            v += filter.kernel[(dy + filter.radius) * size + dx + filter.radius] *
                 src.bytes[src.offset(x + dx, y + dy) + c];
        expected.at(x, y)[c] = static_cast<Ipp8u>(filter.finish(v));
      }
}

class FixedKernelFilter : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FixedKernelFilter, EveryVariantMatchesTheDirectConvolutionAndWritesOnlyTheRegion) {
  const FilterCase& filter = GetParam();
  const IppiSize sizes[] = {{1, 1}, {2, 3}, {1, 7}, {17, 5}, {37, 23}, {64, 2}};
  std::uint32_t seed = 1;
  for (const IppiSize size : sizes) {
    TestImage src(size.width, size.height, 3, 5, 2);
    src.randomize(seed++);
    TestImage before(size.width, size.height, 3, 3, 1);
    before.randomize(seed++);
    TestImage expected = before;
    convolve(filter, src, expected);
    for (const auto& variant : filter.variants) {
      TestImage dst = before;
      ASSERT_EQ(variant.call(src.data(), src.step, dst.data(), dst.step, src.size()), ippStsNoErr);
      EXPECT_EQ(dst.bytes, expected.bytes) << filter.name << " " << variant.tag << " " << size.width << "x"
                                           << size.height;
    }
  }
}

TEST_P(FixedKernelFilter, UniformRegionGivesZeroOrKeepsItsValue) {
  const FilterCase& filter = GetParam();
  const bool smoothing = filter.name.starts_with("Lowpass") || filter.name.starts_with("Gauss") ||
                         filter.name == "Sharpen";
  for (const int value : {0, 1, 127, 254, 255}) {
    TestImage src(9, 4, 3, 0, 2);
    std::fill(src.bytes.begin(), src.bytes.end(), static_cast<Ipp8u>(value));
    TestImage dst(9, 4, 3);
    for (const auto& variant : filter.variants) {
      ASSERT_EQ(variant.call(src.data(), src.step, dst.data(), dst.step, dst.size()), ippStsNoErr);
      const int want = smoothing ? value : 0;
      for (const Ipp8u b : dst.bytes) ASSERT_EQ(b, want) << filter.name << " " << variant.tag << " " << value;
    }
  }
}

TEST_P(FixedKernelFilter, ChecksPointersThenSizeThenSteps) {
  const FilterCase& filter = GetParam();
  TestImage src(4, 4, 3, 0, 2), dst(4, 4, 3);
  const TestImage untouched = dst;
  for (const auto& variant : filter.variants) {
    const auto& f = variant.call;
    EXPECT_EQ(f(nullptr, src.step, dst.data(), dst.step, {0, 4}), ippStsNullPtrErr);
    EXPECT_EQ(f(src.data(), src.step, nullptr, dst.step, {4, 4}), ippStsNullPtrErr);
    EXPECT_EQ(f(src.data(), 0, dst.data(), dst.step, {0, 5}), ippStsSizeErr);
    EXPECT_EQ(f(src.data(), src.step, dst.data(), dst.step, {4, -1}), ippStsSizeErr);
    EXPECT_EQ(f(src.data(), 0, dst.data(), dst.step, {4, 4}), ippStsStepErr);
    EXPECT_EQ(f(src.data(), src.step, dst.data(), -3, {4, 4}), ippStsStepErr);
  }
  EXPECT_EQ(dst.bytes, untouched.bytes);
}

INSTANTIATE_TEST_SUITE_P(AllKernels, FixedKernelFilter, ::testing::ValuesIn(allFilters()),
                         [](const auto& info) { return info.param.name; });

template <typename Fn>
void expectMaskCodeCheckedAfterStepsAndBeforeAllocation(const char* name,
                                                        const std::vector<fc::test::NamedVariant<Fn>>& variants) {
  TestImage src(4, 4, 3, 0, 2), dst(4, 4, 3);
  const TestImage untouched = dst;
  // A region so wide that its row sums cannot be allocated: the mask code
  // must be rejected before the allocation is tried.
  const IppiSize huge{INT_MAX / 3, 1};
  for (const auto& v : variants) {
    EXPECT_EQ(v.fn(src.data(), 0, dst.data(), dst.step, dst.size(), 34), ippStsStepErr) << name << v.tag;
    for (const int mask : {34, 0, 3, 5, 35, 53})
      EXPECT_EQ(v.fn(src.data(), src.step, dst.data(), dst.step, dst.size(), mask), ippStsMaskSizeErr)
          << name << v.tag << " mask " << mask;
    EXPECT_EQ(v.fn(src.data(), src.step, dst.data(), dst.step, huge, 34), ippStsMaskSizeErr) << name << v.tag;
    EXPECT_EQ(v.fn(src.data(), src.step, dst.data(), dst.step, huge, 33), ippStsMemAllocErr) << name << v.tag;
    EXPECT_EQ(v.fn(src.data(), src.step, dst.data(), dst.step, huge, 55), ippStsMemAllocErr) << name << v.tag;
  }
  EXPECT_EQ(dst.bytes, untouched.bytes) << name;
}

TEST(FixedKernelMaskCode, RejectedAfterStepsAndBeforeAllocation) {
  using namespace fc::test;
  expectMaskCodeCheckedAfterStepsAndBeforeAllocation("Laplace", variantsOf_ippiFilterLaplace_8u_C3R());
  expectMaskCodeCheckedAfterStepsAndBeforeAllocation("Gauss", variantsOf_ippiFilterGauss_8u_C3R());
  expectMaskCodeCheckedAfterStepsAndBeforeAllocation("Hipass", variantsOf_ippiFilterHipass_8u_C3R());
  expectMaskCodeCheckedAfterStepsAndBeforeAllocation("Lowpass", variantsOf_ippiFilterLowpass_8u_C3R());
}

TEST(FixedKernelMaskCode, AllocationFailureWritesNothingForUnmaskedFilters) {
  TestImage src(4, 4, 3, 0, 2), dst(4, 4, 3);
  const TestImage untouched = dst;
  const IppiSize huge{INT_MAX / 3, 1};
  for (const auto& v : fc::test::variantsOf_ippiFilterSobelHoriz_8u_C3R())
    EXPECT_EQ(v.fn(src.data(), src.step, dst.data(), dst.step, huge), ippStsMemAllocErr) << v.tag;
  for (const auto& v : fc::test::variantsOf_ippiFilterSharpen_8u_C3R())
    EXPECT_EQ(v.fn(src.data(), src.step, dst.data(), dst.step, huge), ippStsMemAllocErr) << v.tag;
  EXPECT_EQ(dst.bytes, untouched.bytes);
}

// One pixel whose centre is `centre` and whose eight neighbours are 0 except
// one of value `neighbour`: 17c - S9 = 16c - neighbour.
int sharpenOnePixel(int centre, int neighbour) {
  TestImage src(1, 1, 3, 0, 1);
  src.at(0, 0)[1] = static_cast<Ipp8u>(centre);
  src.at(1, -1)[1] = static_cast<Ipp8u>(neighbour);
  TestImage dst(1, 1, 3);
  EXPECT_EQ(ippiFilterSharpen_8u_C3R(src.data(), src.step, dst.data(), dst.step, {1, 1}), ippStsNoErr);
  return dst.at(0, 0)[1];
}

TEST(Sharpen, DividesByEightRoundingTiesToEvenAndSaturates) {
  EXPECT_EQ(sharpenOnePixel(1, 12), 0);     // 4 / 8 = 0.5 -> 0
  EXPECT_EQ(sharpenOnePixel(1, 4), 2);      // 12 / 8 = 1.5 -> 2
  EXPECT_EQ(sharpenOnePixel(2, 12), 2);     // 20 / 8 = 2.5 -> 2
  EXPECT_EQ(sharpenOnePixel(2, 4), 4);      // 28 / 8 = 3.5 -> 4
  EXPECT_EQ(sharpenOnePixel(1, 13), 0);     // 3 / 8 -> 0
  EXPECT_EQ(sharpenOnePixel(1, 11), 1);     // 5 / 8 -> 1
  EXPECT_EQ(sharpenOnePixel(0, 200), 0);    // negative -> 0
  EXPECT_EQ(sharpenOnePixel(128, 12), 254); // 2036 / 8 = 254.5 -> 254
  EXPECT_EQ(sharpenOnePixel(128, 8), 255);  // 2040
  EXPECT_EQ(sharpenOnePixel(255, 0), 255);  // far above
}

// A 4x3 region whose columns left of x = 2 (border included) hold `left` and
// the others `right`; returns the green bytes of the first row.
std::vector<int> verticalEdge(IppStatus (*filter)(const Ipp8u*, int, Ipp8u*, int, IppiSize), int left, int right) {
  TestImage src(4, 3, 3, 0, 1);
  for (int y = -1; y <= 3; ++y)
    for (int x = -1; x <= 4; ++x)
      for (int c = 0; c < 3; ++c) src.at(x, y)[c] = static_cast<Ipp8u>(x < 2 ? left : right);
  TestImage dst(4, 3, 3);
  EXPECT_EQ(filter(src.data(), src.step, dst.data(), dst.step, src.size()), ippStsNoErr);
  return {dst.at(0, 0)[1], dst.at(1, 0)[1], dst.at(2, 0)[1], dst.at(3, 0)[1]};
}

TEST(GradientSign, NegativeGradientsAreLimitedToZeroNotTakenAsMagnitudes) {
  EXPECT_EQ(verticalEdge(ippiFilterPrewittVert_8u_C3R, 255, 0), (std::vector<int>{0, 255, 255, 0}));
  EXPECT_EQ(verticalEdge(ippiFilterPrewittVert_8u_C3R, 0, 255), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_EQ(verticalEdge(ippiFilterSobelVert_8u_C3R, 255, 0), (std::vector<int>{0, 255, 255, 0}));
  EXPECT_EQ(verticalEdge(ippiFilterSobelVert_8u_C3R, 0, 255), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_EQ(verticalEdge(ippiFilterRobertsDown_8u_C3R, 0, 255), (std::vector<int>{0, 0, 255, 0}));
  EXPECT_EQ(verticalEdge(ippiFilterRobertsUp_8u_C3R, 255, 0), (std::vector<int>{0, 255, 0, 0}));
}

}  // namespace
