// The variant checker's random inputs for the minimum, maximum, erosion,
// dilation and median filters: many random region shapes, masks and
// anchors, so every split of a mask into runs of cells, both row orders of a
// pair of rows, rows across several chunks and every vector remainder meet
// the generic code.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "tests/primitives/variants/variant_checker.h"

namespace fc::test::variants {
namespace {

constexpr int kShapesPerEntry = 400;

struct RandomCase {
  Region region;
  IppiSize mask;
  IppiPoint anchor;
  std::vector<Ipp8u> cells;
  std::uint32_t seed;
};

/// Mask cells of one of several kinds: full, rows of one length, sparse, dense.
std::vector<Ipp8u> randomCells(std::mt19937& rng, IppiSize mask) {
  std::vector<Ipp8u> cells(static_cast<std::size_t>(mask.width) * mask.height);
  const int kind = static_cast<int>(rng() % 4);
  const int runStart = static_cast<int>(rng() % mask.width);
  for (int y = 0; y < mask.height; ++y)
    for (int x = 0; x < mask.width; ++x) {
      Ipp8u& cell = cells[static_cast<std::size_t>(y) * mask.width + x];
      switch (kind) {
        case 0: cell = 1; break;
        case 1: cell = x >= runStart ? 255 : 0; break;
        case 2: cell = rng() % 4 == 0 ? static_cast<Ipp8u>(rng() % 255 + 1) : 0; break;
        default: cell = rng() % 4 != 0 ? 1 : 0; break;
      }
    }
  cells[rng() % cells.size()] = 1;  // at least one cell
  return cells;
}

RandomCase randomCase(std::mt19937& rng) {
  RandomCase c;
  c.region = {static_cast<int>(rng() % 80) + 1, static_cast<int>(rng() % 7) + 1, static_cast<int>(rng() % 9)};
  c.mask = {static_cast<int>(rng() % 9) + 1, static_cast<int>(rng() % 9) + 1};
  c.anchor = {static_cast<int>(rng() % c.mask.width), static_cast<int>(rng() % c.mask.height)};
  c.cells = randomCells(rng, c.mask);
  c.seed = rng();
  return c;
}

std::string describe(const RandomCase& c) {
  return "random " + describe(c.region) + " mask " + std::to_string(c.mask.width) + "x" +
         std::to_string(c.mask.height) + " anchor " + std::to_string(c.anchor.x) + "," + std::to_string(c.anchor.y);
}

/// Source and destination with margins, so reads and writes past the region
/// show under the address sanitizer or in the outcome.
template <typename Call>
Outcome runCase(const RandomCase& c, int channels, Call call) {
  const int reach = std::max(c.mask.width, c.mask.height);
  const TestImage src = randomImage(c.region.width, c.region.height, channels, c.region.padding, reach, c.seed);
  TestImage dst = randomImage(c.region.width, c.region.height, channels, c.region.padding + 1, 1, c.seed + 1);
  const IppStatus status = call(src.data(), src.step, dst.data(), dst.step, src.size());
  return outcome(status, dst.bytes);
}

/// Median masks: the squares with their own kernels, often, and any odd size.
IppiSize randomMedianMask(std::mt19937& rng) {
  static constexpr IppiSize kSquares[] = {{3, 3}, {5, 5}, {7, 7}};
  if (rng() % 4 != 0) return kSquares[rng() % 3];
  return {static_cast<int>(rng() % 5) * 2 + 1, static_cast<int>(rng() % 5) * 2 + 1};
}

using MorphologyFn = decltype(px_ippiErode_8u_C3R);
using RankFn = decltype(px_ippiFilterMin_8u_C3R);

}  // namespace

void addExtremeFilterTrials(Registry& registry) {
  std::mt19937 rng(2024);
  const std::pair<MorphologyFn*, int> morphology[] = {{px_ippiErode_8u_C3R, 3},
                                                      {px_ippiErode_8u_C1R, 1},
                                                      {px_ippiDilate_8u_C3R, 3},
                                                      {px_ippiDilate_8u_C1R, 1}};
  for (const auto& [px, channels] : morphology)
    for (int i = 0; i < kShapesPerEntry; ++i) {
      const RandomCase c = randomCase(rng);
      registry.add<MorphologyFn>(px, describe(c), [c, channels = channels](MorphologyFn* fn) {
        return runCase(c, channels, [&](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize roi) {
          return fn(s, ss, d, ds, roi, c.cells.data(), c.mask, c.anchor);
        });
      });
    }
  for (RankFn* px : {px_ippiFilterMin_8u_C3R, px_ippiFilterMax_8u_C3R})
    for (int i = 0; i < kShapesPerEntry; ++i) {
      const RandomCase c = randomCase(rng);
      registry.add<RankFn>(px, describe(c), [c](RankFn* fn) {
        return runCase(c, 3, [&](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize roi) {
          return fn(s, ss, d, ds, roi, c.mask, c.anchor);
        });
      });
    }
  for (int i = 0; i < kShapesPerEntry; ++i) {
    RandomCase c = randomCase(rng);
    c.region.width = static_cast<int>(rng() % 260) + 1;  // up to three chunks of 512 bytes
    c.region.height = static_cast<int>(rng() % 3) + 1;
    c.mask = randomMedianMask(rng);
    c.anchor = {static_cast<int>(rng() % c.mask.width), static_cast<int>(rng() % c.mask.height)};
    registry.add<RankFn>(px_ippiFilterMedian_8u_C3R, describe(c), [c](RankFn* fn) {
      return runCase(c, 3, [&](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize roi) {
        return fn(s, ss, d, ds, roi, c.mask, c.anchor);
      });
    });
  }
}

}  // namespace fc::test::variants
