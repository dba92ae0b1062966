// The variant checker's inputs for the rank, fixed-kernel and morphology
// filters.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "tests/primitives/variants/variant_checker.h"

namespace fc::test::variants {
namespace {

struct MaskCase {
  IppiSize size;
  IppiPoint anchor;
};

// Square, flat, tall and wide masks, anchors at corners and centres.
const MaskCase kRankMasks[] = {{{1, 1}, {0, 0}}, {{3, 3}, {1, 1}}, {{5, 5}, {0, 4}}, {{3, 1}, {2, 0}},
                               {{1, 5}, {0, 2}}, {{1, 7}, {0, 6}}, {{7, 7}, {3, 3}}, {{9, 3}, {4, 1}}};

/// Pixels a mask reaches beyond the region on its widest side.
int reachOf(IppiSize mask) { return std::max(mask.width, mask.height) - 1; }

std::string describe(const MaskCase& m) {
  return " mask " + std::to_string(m.size.width) + "x" + std::to_string(m.size.height) + " anchor " +
         std::to_string(m.anchor.x) + "," + std::to_string(m.anchor.y);
}

using MaskedFn = decltype(px_ippiFilterMin_8u_C3R);
using CodedFn = decltype(px_ippiFilterMedianCross_8u_C3R);

void addMaskedTrials(Registry& registry, MaskedFn* px, bool oddMasksOnly) {
  for (const MaskCase& m : kRankMasks) {
    if (oddMasksOnly && (m.size.width % 2 == 0 || m.size.height % 2 == 0)) continue;
    addTwoImageTrials(registry, px, describe(m), 3, reachOf(m.size), m.size, m.anchor);
  }
  benchTwoImage(registry, px, 3, 2, IppiSize{5, 5}, IppiPoint{2, 2});
}

void addCodedTrials(Registry& registry, CodedFn* px) {
  for (int mask : {ippMskSize3x3, ippMskSize5x5})
    addTwoImageTrials(registry, px, " mask " + std::to_string(mask), 3, 2, mask);
  benchTwoImage(registry, px, 3, 2, int{ippMskSize5x5});
}

/// A random call of a masked filter: region, padding, mask and anchor.
struct RandomMaskedCall {
  Region region;
  MaskCase mask;
};

/// Masks of every width that is summed directly (up to 16), wider ones that
/// slide, and tall or large ones around the limits of 16-bit sums (255 * n
/// below 2^16) and of integer sums (8100 pixels).
RandomMaskedCall randomBoxCall(std::mt19937& rng) {
  const auto upTo = [&](int most) { return static_cast<int>(rng() % static_cast<unsigned>(most)) + 1; };
  IppiSize mask{upTo(20), upTo(20)};
  switch (rng() % 8) {
    case 0: mask = {upTo(3), 240 + upTo(40)}; break;
    case 1: mask = {240 + upTo(40), 1}; break;
    case 2: mask = {90, 89 + upTo(3)}; break;
    default: break;
  }
  const IppiPoint anchor{upTo(mask.width) - 1, upTo(mask.height) - 1};
  return {{upTo(70), upTo(6), upTo(9) - 1}, {mask, anchor}};
}

/// Hundreds of random regions and masks for the box filter.
void addRandomBoxTrials(Registry& registry) {
  std::mt19937 rng(18);
  for (int i = 0; i < 600; ++i) {
    const RandomMaskedCall call = randomBoxCall(rng);
    const std::uint32_t seed = rng();
    registry.add<MaskedFn>(px_ippiFilterBox_8u_C3R, "random " + describe(call.region) + describe(call.mask),
                           [=](MaskedFn* fn) {
                             const IppiSize m = call.mask.size;
                             const TestImage src = randomImage(call.region.width, call.region.height, 3,
                                                               call.region.padding, reachOf(m), seed);
                             TestImage dst = randomImage(call.region.width, call.region.height, 3,
                                                         call.region.padding + 1, 1, seed + 1);
                             return outcome(fn(src.data(), src.step, dst.data(), dst.step, src.size(), m,
                                               call.mask.anchor),
                                            dst.bytes);
                           });
  }
}

void addRankTrials(Registry& registry) {
  addMaskedTrials(registry, px_ippiFilterBox_8u_C3R, false);
  addRandomBoxTrials(registry);
  addMaskedTrials(registry, px_ippiFilterMin_8u_C3R, false);
  addMaskedTrials(registry, px_ippiFilterMax_8u_C3R, false);
  addMaskedTrials(registry, px_ippiFilterMedian_8u_C3R, true);
  addCodedTrials(registry, px_ippiFilterMedianCross_8u_C3R);
  addCodedTrials(registry, px_ippiFilterMedianColor_8u_C3R);
}

using FixedFn = decltype(px_ippiFilterSobelHoriz_8u_C3R);
using FixedWithMaskFn = decltype(px_ippiFilterGauss_8u_C3R);

void addFixedKernelTrials(Registry& registry) {
  for (FixedFn* px : {px_ippiFilterPrewittHoriz_8u_C3R, px_ippiFilterPrewittVert_8u_C3R,
                      px_ippiFilterSobelHoriz_8u_C3R, px_ippiFilterSobelVert_8u_C3R, px_ippiFilterRobertsDown_8u_C3R,
                      px_ippiFilterRobertsUp_8u_C3R, px_ippiFilterSharpen_8u_C3R}) {
    addTwoImageTrials(registry, px, "", 3, 1);
    benchTwoImage(registry, px, 3, 1);
  }
  for (FixedWithMaskFn* px : {px_ippiFilterLaplace_8u_C3R, px_ippiFilterGauss_8u_C3R, px_ippiFilterHipass_8u_C3R,
                              px_ippiFilterLowpass_8u_C3R}) {
    addTwoImageTrials(registry, px, " mask 33", 3, 1, int{ippMskSize3x3});
    addTwoImageTrials(registry, px, " mask 55", 3, 2, int{ippMskSize5x5});
    benchTwoImage(registry, px, 3, 2, int{ippMskSize5x5});
  }
  // Widths on both sides of every vector block and its remainder, then rows
  // filtered in several stretches, ending on both sides of a stretch.
  std::mt19937 rng(55);
  for (int i = 0; i < 460; ++i) {
    const int width = i < 400 ? static_cast<int>(rng() % 90) + 1 : static_cast<int>(rng() % 800) + 320;
    const Region region{width, static_cast<int>(rng() % 4) + 1, static_cast<int>(rng() % 8)};
    const int mask = i % 2 == 0 ? ippMskSize3x3 : ippMskSize5x5;
    const std::uint32_t seed = rng();
    registry.add<FixedWithMaskFn>(
        px_ippiFilterGauss_8u_C3R, "random " + describe(region) + " mask " + std::to_string(mask),
        [=](FixedWithMaskFn* fn) {
          const TestImage src = randomImage(region.width, region.height, 3, region.padding, 2, seed);
          TestImage dst = randomImage(region.width, region.height, 3, region.padding + 1, 1, seed + 1);
          return outcome(fn(src.data(), src.step, dst.data(), dst.step, src.size(), mask), dst.bytes);
        });
  }
}

/// A structuring element: size, anchor and cells (zero cells are ignored).
struct StructuringElement {
  IppiSize size;
  IppiPoint anchor;
  std::vector<Ipp8u> cells;
};

const std::vector<StructuringElement>& structuringElements() {
  static const std::vector<StructuringElement> elements = {
      {{1, 1}, {0, 0}, {1}},
      {{3, 3}, {1, 1}, {0, 1, 0, 1, 1, 1, 0, 1, 0}},
      {{5, 3}, {4, 0}, {255, 0, 0, 7, 1, 0, 9, 0, 0, 1, 1, 1, 0, 0, 1}},
      {{7, 2}, {3, 1}, {1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 128, 0, 0, 0}},
  };
  return elements;
}

using MorphologyFn = decltype(px_ippiErode_8u_C3R);

void addMorphologyTrials(Registry& registry) {
  const std::pair<MorphologyFn*, int> entries[] = {{px_ippiErode_8u_C3R, 3},
                                                   {px_ippiErode_8u_C1R, 1},
                                                   {px_ippiDilate_8u_C3R, 3},
                                                   {px_ippiDilate_8u_C1R, 1}};
  for (const auto& [px, channels] : entries) {
    for (const StructuringElement& e : structuringElements())
      addTwoImageTrials(registry, px, describe(MaskCase{e.size, e.anchor}), channels, reachOf(e.size),
                        e.cells.data(), e.size, e.anchor);
    const StructuringElement& cross = structuringElements()[1];
    benchTwoImage(registry, px, channels, 1, cross.cells.data(), cross.size, cross.anchor);
  }

  // The state holds pointers of its own; what compares is the status and
  // whether a state was made, then whether it was released.
  using InitFn = decltype(px_ippiMorphologyInitAlloc_8u_C3R);
  for (const StructuringElement& e : structuringElements())
    for (int roiWidth : {1, 33, 0})
      registry.add<InitFn>(px_ippiMorphologyInitAlloc_8u_C3R, "width " + std::to_string(roiWidth) +
                                                                  describe(MaskCase{e.size, e.anchor}),
                           [=, &e](InitFn* fn) {
                             IppiMorphState* state = nullptr;
                             const IppStatus status = fn(roiWidth, e.cells.data(), e.size, e.anchor, &state);
                             Outcome out = outcome(status);
                             append(out, state != nullptr);
                             px_ippiMorphologyFree(&state);
                             return out;
                           });
  using FreeFn = decltype(px_ippiMorphologyFree);
  for (bool made : {true, false})
    registry.add<FreeFn>(px_ippiMorphologyFree, made ? "made state" : "null state", [=](FreeFn* fn) {
      const StructuringElement& e = structuringElements()[1];
      IppiMorphState* state = nullptr;
      if (made) px_ippiMorphologyInitAlloc_8u_C3R(17, e.cells.data(), e.size, e.anchor, &state);
      Outcome out = outcome(fn(&state));
      append(out, state == nullptr);
      return out;
    });
}

}  // namespace

void addFilterTrials(Registry& registry) {
  addRankTrials(registry);
  addFixedKernelTrials(registry);
  addMorphologyTrials(registry);
}

}  // namespace fc::test::variants
