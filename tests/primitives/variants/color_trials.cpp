// The variant checker's inputs for the colour conversions and the point
// operations.
#include <string>
#include <vector>

#include "tests/primitives/variants/variant_checker.h"

namespace fc::test::variants {
namespace {

using ConversionFn = decltype(px_ippiRGBToYUV_8u_C3R);

ConversionFn* const kConversions[] = {
    px_ippiRGBToHLS_8u_C3R, px_ippiRGBToHSV_8u_C3R,   px_ippiRGBToLUV_8u_C3R,   px_ippiRGBToXYZ_8u_C3R,
    px_ippiRGBToYCC_8u_C3R, px_ippiRGBToYCbCr_8u_C3R, px_ippiRGBToYUV_8u_C3R,   px_ippiBGRToLab_8u_C3R,
    px_ippiHLSToRGB_8u_C3R, px_ippiHSVToRGB_8u_C3R,   px_ippiLUVToRGB_8u_C3R,   px_ippiXYZToRGB_8u_C3R,
    px_ippiYCCToRGB_8u_C3R, px_ippiYCbCrToRGB_8u_C3R, px_ippiYUVToRGB_8u_C3R,   px_ippiLabToBGR_8u_C3R};

/// 1024 x 256 distinct colours spread over the whole cube: an odd multiplier
/// permutes the 2^24 colours and the first 2^18 are taken. Wide rows run the
/// vector loops at full length.
const std::vector<Ipp8u>& spreadColours() {
  static const std::vector<Ipp8u> colours = [] {
    std::vector<Ipp8u> bytes(3 * 1024 * 256);
    for (std::uint32_t i = 0; i < 1024 * 256; ++i) {
      const std::uint32_t c = (i * 2654435761u) & 0xFFFFFF;
      bytes[3 * i] = static_cast<Ipp8u>(c >> 16);
      bytes[3 * i + 1] = static_cast<Ipp8u>(c >> 8);
      bytes[3 * i + 2] = static_cast<Ipp8u>(c);
    }
    return bytes;
  }();
  return colours;
}

void addColorConversionTrialsOf(Registry& registry, ConversionFn* px) {
  addTwoImageTrials(registry, px, "", 3, 2);
  registry.add<ConversionFn>(px, "1024x256 spread colours", [](ConversionFn* fn) {
    std::vector<Ipp8u> dst(spreadColours().size());
    return outcome(fn(spreadColours().data(), 3 * 1024, dst.data(), 3 * 1024, {1024, 256}), dst);
  });
  benchTwoImage(registry, px, 3, 0);
}

/// One trial per standard region of an in-place entry (image, step, size,
/// extra..., and the seed word for the noise generators); the seed left
/// behind is part of the outcome.
template <typename Fn, typename... Extra>
void addInPlaceTrials(Registry& registry, Fn* px, bool seeded, Extra... extra) {
  std::uint32_t seed = 40;
  for (const Region& region : standardRegions()) {
    seed += 2;
    registry.add<Fn>(px, describe(region), [=](Fn* fn) {
      TestImage image = randomImage(region.width, region.height, 3, region.padding, 2, seed);
      unsigned int word = 99;
      IppStatus status;
      if constexpr (sizeof...(extra) == 0)
        status = fn(image.data(), image.step, image.size());
      else
        status = fn(image.data(), image.step, image.size(), extra..., &word);
      Outcome out = outcome(status, image.bytes);
      if (seeded) append(out, word);
      return out;
    });
  }
}

// Per-channel thresholds and values, at and between the byte's edges.
const Ipp8u kBelow[3] = {40, 128, 0}, kBelowValue[3] = {1, 2, 3};
const Ipp8u kAbove[3] = {200, 128, 255}, kAboveValue[3] = {4, 5, 6};
const Ipp8u kEdgeBelow[3] = {255, 1, 0}, kEdgeAbove[3] = {255, 254, 0};

// Twist matrices: an ordinary mix, negative and offset rows, sums that land
// near half-integers, and sums far beyond the byte range; decimal rows whose
// sums miss halves by a hair, a row whose double sums are not exact, and a
// row too large for 32-bit fixed point.
const Ipp32f kTwists[][3][4] = {
    {{0.299f, 0.587f, 0.114f, 0.5f}, {-1.5f, 2.25f, 0.5f, -20.0f}, {0.5f, 0, 0, 64.25f}},
    {{0, 0, 0, 2.5f}, {0, 0, 0, 3.5f}, {0, 0, 0, -0.3f}},
    {{2.5f, 0, 0, -0x1p-60f}, {2.5f, 0, 0, 0x1p-60f}, {0, 0, 0, 0}},
    {{1, 1, 1, 45.7f}, {-1, 0, 0, 0}, {0, 0, 0, 254.5f}},
    {{0.299f, 0.587f, 0.114f, 0}, {-0.169f, -0.331f, 0.5f, 128}, {0.5f, -0.419f, -0.081f, 128}},
    {{0.5f, 0x1.000002p-30f, 0, 0}, {0.31f, -0.3f, 0.7f, 0.03f}, {0.5f, 0.5f, 0, 0}},
    {{0.5f, 0.25f, 0, 0}, {4e6f, 0, 0, -1e8f}, {0.2f, 0.2f, 0.2f, 0.02f}},
};

void addPointTrials(Registry& registry) {
  for (auto* px : {px_ippiGammaFwd_8u_C3R, px_ippiGammaInv_8u_C3R}) {
    addTwoImageTrials(registry, px, "", 3, 0);
    benchTwoImage(registry, px, 3, 0);
  }
  addInPlaceTrials(registry, px_ippiGammaFwd_8u_C3IR, false);
  addInPlaceTrials(registry, px_ippiGammaInv_8u_C3IR, false);
  for (const auto& twist : kTwists) addTwoImageTrials(registry, px_ippiColorTwist32f_8u_C3R, " twist", 3, 0, twist);
  benchTwoImage(registry, px_ippiColorTwist32f_8u_C3R, 3, 0, kTwists[0]);

  addTwoImageTrials(registry, px_ippiThreshold_LTValGTVal_8u_C3R, "", 3, 0, kBelow, kBelowValue, kAbove,
                    kAboveValue);
  addTwoImageTrials(registry, px_ippiThreshold_LTValGTVal_8u_C3R, " edges", 3, 0, kEdgeAbove, kBelowValue,
                    kEdgeAbove, kAboveValue);
  benchTwoImage(registry, px_ippiThreshold_LTValGTVal_8u_C3R, 3, 0, kBelow, kBelowValue, kAbove, kAboveValue);
  for (auto* px : {px_ippiThreshold_LTVal_8u_C3R, px_ippiThreshold_GTVal_8u_C3R}) {
    addTwoImageTrials(registry, px, "", 3, 0, kBelow, kBelowValue);
    addTwoImageTrials(registry, px, " edges", 3, 0, kEdgeBelow, kAboveValue);
    benchTwoImage(registry, px, 3, 0, kAbove, kAboveValue);
  }

  addInPlaceTrials(registry, px_ippiAddRandUniform_Direct_8u_C3IR, true, Ipp8u{20}, Ipp8u{90});
  addInPlaceTrials(registry, px_ippiAddRandUniform_Direct_8u_C3IR, true, Ipp8u{0}, Ipp8u{255});
  addInPlaceTrials(registry, px_ippiAddRandGauss_Direct_8u_C3IR, true, Ipp8u{128}, Ipp8u{30});
  addInPlaceTrials(registry, px_ippiAddRandGauss_Direct_8u_C3IR, true, Ipp8u{255}, Ipp8u{255});
}

void addHistogramTrials(Registry& registry) {
  using OneChannelFn = decltype(px_ippiHistogramEven_8u_C1R);
  using ThreeChannelFn = decltype(px_ippiHistogramEven_8u_C3R);
  std::uint32_t seed = 60;
  for (const Region& region : standardRegions()) {
    seed += 2;
    registry.add<OneChannelFn>(px_ippiHistogramEven_8u_C1R, describe(region), [=](OneChannelFn* fn) {
      const TestImage src = randomImage(region.width, region.height, 1, region.padding, 1, seed);
      std::vector<Ipp32s> out(7 + 6, -1);
      const IppStatus status = fn(src.data(), src.step, src.size(), out.data() + 7, out.data(), 7, -5, 300);
      Outcome result = outcome(status);
      for (Ipp32s v : out) append(result, v);
      return result;
    });
    registry.add<ThreeChannelFn>(px_ippiHistogramEven_8u_C3R, describe(region), [=](ThreeChannelFn* fn) {
      const TestImage src = randomImage(region.width, region.height, 3, region.padding, 1, seed);
      std::vector<Ipp32s> out(3 * 9, -1);
      Ipp32s* hist[3] = {&out[5], &out[9 + 3], &out[18 + 8]};
      Ipp32s* levels[3] = {&out[0], &out[9], &out[18]};
      int n[3] = {5, 3, 2};
      Ipp32s lower[3] = {0, 17, 300}, upper[3] = {256, 100, -1};
      Outcome result = outcome(fn(src.data(), src.step, src.size(), hist, levels, n, lower, upper));
      for (Ipp32s v : out) append(result, v);
      return result;
    });
  }
}

void addGeneratorAndCopyTrials(Registry& registry) {
  using JaehneFn = decltype(px_ippiImageJaehne_8u_C3R);
  using PlanarFn = decltype(px_ippiCopy_8u_C3P3R);
  using SetFn = decltype(px_ippsSet_8u);
  std::uint32_t seed = 80;
  for (const Region& region : standardRegions()) {
    seed += 3;
    registry.add<JaehneFn>(px_ippiImageJaehne_8u_C3R, describe(region), [=](JaehneFn* fn) {
      TestImage dst = randomImage(region.width, region.height, 3, region.padding, 2, seed);
      return outcome(fn(dst.data(), dst.step, dst.size()), dst.bytes);
    });
    registry.add<PlanarFn>(px_ippiCopy_8u_C3P3R, describe(region), [=](PlanarFn* fn) {
      const TestImage src = randomImage(region.width, region.height, 3, region.padding, 2, seed + 1);
      TestImage planes = randomImage(region.width, region.height * 3 + 2, 1, region.padding, 1, seed + 2);
      Ipp8u* dst[3] = {planes.at(0, 0), planes.at(0, region.height + 1), planes.at(0, 2 * region.height + 2)};
      return outcome(fn(src.data(), src.step, dst, planes.step, src.size()), planes.bytes);
    });
    registry.add<SetFn>(px_ippsSet_8u, describe(region), [=](SetFn* fn) {
      TestImage dst = randomImage(region.width, region.height, 3, region.padding, 2, seed + 3);
      return outcome(fn(0xA5, dst.data() + 1, region.width * 3 * region.height), dst.bytes);
    });
  }
  registry.bench<PlanarFn>(px_ippiCopy_8u_C3P3R, "1920x1080", [](PlanarFn* fn) {
    static const TestImage src = randomImage(1920, 1080, 3, 0, 0, 5);
    static TestImage planes(1920, 1080 * 3, 1);
    Ipp8u* dst[3] = {planes.at(0, 0), planes.at(0, 1080), planes.at(0, 2160)};
    return outcome(fn(src.data(), src.step, dst, planes.step, src.size()));
  });
}

}  // namespace

void addColorConversionTrials(Registry& registry) {
  for (ConversionFn* px : kConversions) addColorConversionTrialsOf(registry, px);
}

void addPointOperationTrials(Registry& registry) {
  addPointTrials(registry);
  addHistogramTrials(registry);
  addGeneratorAndCopyTrials(registry);
}

}  // namespace fc::test::variants
