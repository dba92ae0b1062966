// Every published variant of every point operation gives px's bytes, on odd
// widths, padded steps, regions inside larger images and one-pixel regions.
#include <random>
#include <tuple>

#include "tests/primitives/color/point_test_support.h"
#include "tests/support/entry_variants.h"

namespace {

using fc::test::TestImage;
using Outcome = std::tuple<IppStatus, std::vector<Ipp8u>, std::vector<Ipp32s>, unsigned int>;

const IppiSize kShapes[] = {{1, 1}, {7, 5}, {33, 3}, {2, 9}};

TestImage randomImage(IppiSize size, int channels, std::uint32_t seed) {
  TestImage image(size.width, size.height, channels, 5, 2);
  image.randomize(seed);
  return image;
}

template <typename Fn, typename Run>
void expectVariantsMatchPx(const std::vector<fc::test::NamedVariant<Fn>>& variants, Run run) {
  for (const IppiSize size : kShapes) {
    const Outcome reference = run(variants.front().fn, size);
    EXPECT_EQ(std::get<0>(reference), ippStsNoErr);
    for (const auto& variant : variants)
      EXPECT_EQ(run(variant.fn, size), reference) << variant.tag << " " << size.width << "x" << size.height;
  }
}

template <typename Fn, typename... Extra>
void expectTwoImageVariantsMatch(const std::vector<fc::test::NamedVariant<Fn>>& variants, Extra... extra) {
  expectVariantsMatchPx(variants, [&](Fn* fn, IppiSize size) {
    const TestImage src = randomImage(size, 3, 1);
    TestImage dst = randomImage(size, 3, 2);
    const IppStatus status = fn(src.data(), src.step, dst.data(), dst.step, size, extra...);
    return Outcome{status, dst.bytes, {}, 0};
  });
}

template <typename Fn, typename... Extra>
void expectInPlaceVariantsMatch(const std::vector<fc::test::NamedVariant<Fn>>& variants, Extra... extra) {
  expectVariantsMatchPx(variants, [&](Fn* fn, IppiSize size) {
    TestImage image = randomImage(size, 3, 3);
    unsigned int seed = 99;
    const IppStatus status = [&] {
      if constexpr (sizeof...(extra) == 0)
        return fn(image.data(), image.step, size);
      else
        return fn(image.data(), image.step, size, extra..., &seed);
    }();
    return Outcome{status, image.bytes, {}, seed};
  });
}

TEST(PointVariants, TableLookupsAndThresholdsMatchPx) {
  using namespace fc::test;
  expectTwoImageVariantsMatch(variantsOf_ippiGammaFwd_8u_C3R());
  expectTwoImageVariantsMatch(variantsOf_ippiGammaInv_8u_C3R());
  expectInPlaceVariantsMatch(variantsOf_ippiGammaFwd_8u_C3IR());
  expectInPlaceVariantsMatch(variantsOf_ippiGammaInv_8u_C3IR());
  const Ipp8u lt[3] = {40, 128, 0}, ltValue[3] = {1, 2, 3}, gt[3] = {200, 128, 255}, gtValue[3] = {4, 5, 6};
  expectTwoImageVariantsMatch(variantsOf_ippiThreshold_LTValGTVal_8u_C3R(), lt, ltValue, gt, gtValue);
  expectTwoImageVariantsMatch(variantsOf_ippiThreshold_LTVal_8u_C3R(), lt, ltValue);
  expectTwoImageVariantsMatch(variantsOf_ippiThreshold_GTVal_8u_C3R(), gt, gtValue);
}

TEST(PointVariants, TwistAndNoiseMatchPx) {
  using namespace fc::test;
  const Ipp32f twist[3][4] = {
      {0.299f, 0.587f, 0.114f, 0.5f}, {-1.5f, 2.25f, 0.5f, -20.0f}, {0.5f, 0, 0, 64.25f}};
  expectTwoImageVariantsMatch(variantsOf_ippiColorTwist32f_8u_C3R(), twist);
  expectInPlaceVariantsMatch(variantsOf_ippiAddRandUniform_Direct_8u_C3IR(), Ipp8u{20}, Ipp8u{90});
  expectInPlaceVariantsMatch(variantsOf_ippiAddRandGauss_Direct_8u_C3IR(), Ipp8u{128}, Ipp8u{30});
}

TEST(PointVariants, HistogramsMatchPx) {
  expectVariantsMatchPx(fc::test::variantsOf_ippiHistogramEven_8u_C1R(), [](auto* fn, IppiSize size) {
    const TestImage src = randomImage(size, 1, 4);
    std::vector<Ipp32s> out(7 + 6, -1);
    const IppStatus status = fn(src.data(), src.step, size, out.data() + 7, out.data(), 7, -5, 300);
    return Outcome{status, {}, out, 0};
  });
  expectVariantsMatchPx(fc::test::variantsOf_ippiHistogramEven_8u_C3R(), [](auto* fn, IppiSize size) {
    const TestImage src = randomImage(size, 3, 5);
    std::vector<Ipp32s> out(3 * 9, -1);
    Ipp32s* hist[3] = {&out[5], &out[9 + 3], &out[18 + 8]};
    Ipp32s* levels[3] = {&out[0], &out[9], &out[18]};
    int n[3] = {5, 3, 2};
    Ipp32s lower[3] = {0, 17, 300}, upper[3] = {256, 100, -1};
    return Outcome{fn(src.data(), src.step, size, hist, levels, n, lower, upper), {}, out, 0};
  });
}

TEST(PointVariants, GeneratorsFillAndPlanarCopyMatchPx) {
  expectVariantsMatchPx(fc::test::variantsOf_ippiImageJaehne_8u_C3R(), [](auto* fn, IppiSize size) {
    TestImage dst = randomImage(size, 3, 6);
    return Outcome{fn(dst.data(), dst.step, size), dst.bytes, {}, 0};
  });
  expectVariantsMatchPx(fc::test::variantsOf_ippiCopy_8u_C3P3R(), [](auto* fn, IppiSize size) {
    const TestImage src = randomImage(size, 3, 7);
    TestImage planes = randomImage({size.width, size.height * 3 + 2}, 1, 8);
    Ipp8u* dst[3] = {planes.at(0, 0), planes.at(0, size.height + 1), planes.at(0, 2 * size.height + 2)};
    return Outcome{fn(src.data(), src.step, dst, planes.step, size), planes.bytes, {}, 0};
  });
  expectVariantsMatchPx(fc::test::variantsOf_ippsSet_8u(), [](auto* fn, IppiSize size) {
    TestImage dst = randomImage(size, 3, 9);
    return Outcome{fn(0xA5, dst.data() + 1, size.width * 3), dst.bytes, {}, 0};
  });
}

}  // namespace
