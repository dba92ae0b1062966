// variant_checker.h - the variant checker's table of entries and trials.
//
// Every row of the entry table becomes an Entry with the <tag>_ functions of
// its pattern. The families add trials: one call of the entry on fixed
// inputs, which any variant can run, returning everything the call produced
// as bytes. The checker runs each trial with px and with every other tag and
// compares the bytes.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include "dispatch/primitives.h"
#include "tests/support/test_image.h"

namespace fc::test::variants {

/// What a call produced: its status, then every buffer it may have written
/// (whole, with borders and padding), then any other output, in a fixed order.
using Outcome = std::vector<std::uint8_t>;

/// A variant function with its signature erased.
using AnyFunction = void (*)();

/// One call of an entry on fixed inputs, run by any of its variants.
struct Trial {
  std::string label;
  std::function<Outcome(AnyFunction)> run;
};

struct Variant {
  std::string tag;
  AnyFunction fn = nullptr;
  /// The px forwarder that stands in until the variant is written, or null.
  AnyFunction forwarder = nullptr;
};

struct Entry {
  std::string name;
  std::vector<Variant> variants;  // px first
  std::vector<Trial> trials;
  Trial bench;  // a large input for --bench; empty when the family gives none
};

/// The entries of the table, in table order, with the trials added so far.
class Registry {
 public:
  Registry();

  /// Adds a trial to the entry whose px function is `px`.
  template <typename Fn>
  void add(Fn* px, std::string label, std::function<Outcome(Fn*)> run) {
    entryOf(px).trials.push_back({std::move(label), erase(std::move(run))});
  }

  /// Sets the input --bench times the entry's variants on.
  template <typename Fn>
  void bench(Fn* px, std::string label, std::function<Outcome(Fn*)> run) {
    entryOf(px).bench = {std::move(label), erase(std::move(run))};
  }

  std::vector<Entry>& entries() { return entries_; }

 private:
  template <typename Fn>
  static std::function<Outcome(AnyFunction)> erase(std::function<Outcome(Fn*)> run) {
    return [run = std::move(run)](AnyFunction fn) { return run(reinterpret_cast<Fn*>(fn)); };
  }
  template <typename Fn>
  Entry& entryOf(Fn* px) {
    return entryOfPx(reinterpret_cast<AnyFunction>(px));
  }
  Entry& entryOfPx(AnyFunction px);

  std::vector<Entry> entries_;
};

/// Appends the bytes of `value` (a status, an array of numbers ...).
template <typename T>
void append(Outcome& out, const T& value) {
  static_assert(std::is_trivially_copyable_v<T>);
  const std::size_t at = out.size();
  out.resize(at + sizeof value);
  std::memcpy(out.data() + at, &value, sizeof value);
}

inline void append(Outcome& out, const std::vector<Ipp8u>& bytes) {
  const std::size_t at = out.size();
  out.resize(at + bytes.size());
  if (!bytes.empty()) std::memcpy(out.data() + at, bytes.data(), bytes.size());
}

/// The status followed by the given buffers.
template <typename... Buffers>
Outcome outcome(IppStatus status, const Buffers&... buffers) {
  Outcome out;
  append(out, status);
  (append(out, buffers), ...);
  return out;
}

/// Random bytes, about one in four replaced by a value at an edge of the
/// byte range or of a sign change (0, 1, 127, 128, 254, 255), so saturation,
/// comparisons and rounding at their limits are exercised.
inline void fillWithEdges(std::vector<Ipp8u>& bytes, std::uint32_t seed) {
  static constexpr Ipp8u kEdges[] = {0, 1, 127, 128, 254, 255};
  std::mt19937 rng(seed);
  for (auto& b : bytes) {
    const std::uint32_t r = rng();
    b = (r & 3) == 0 ? kEdges[(r >> 2) % 6] : static_cast<Ipp8u>(r >> 8);
  }
}

/// A test image of the given region with random bytes and edge values.
inline TestImage randomImage(int width, int height, int channels, int padding, int border, std::uint32_t seed) {
  TestImage image(width, height, channels, padding, border);
  fillWithEdges(image.bytes, seed);
  return image;
}

/// A region of a two-image call: odd widths, single pixels, padded steps.
struct Region {
  int width;
  int height;
  int padding;  // bytes added to each row's step
};

/// The regions every two-image family is checked on: one pixel, one row,
/// one column, widths around the vector lengths, a padded wide region.
inline const std::vector<Region>& standardRegions() {
  static const std::vector<Region> regions = {{1, 1, 0},  {7, 1, 0},  {1, 7, 3},   {13, 5, 1},
                                              {31, 3, 5}, {33, 4, 0}, {67, 9, 13}, {130, 2, 7}};
  return regions;
}

std::string describe(const Region& region);

/// Adds one trial per standard region of a two-image entry (source, step,
/// destination, step, region size, extra...). The source region has `reach`
/// readable pixels around it; both images lie inside larger buffers, so a
/// write outside the region shows in the outcome.
template <typename Fn, typename... Extra>
void addTwoImageTrials(Registry& registry, Fn* px, const std::string& label, int channels, int reach,
                       Extra... extra) {
  std::uint32_t seed = 1;
  for (const Region& region : standardRegions()) {
    seed += 2;
    registry.add<Fn>(px, describe(region) + label, [=](Fn* fn) {
      const TestImage src = randomImage(region.width, region.height, channels, region.padding, reach, seed);
      TestImage dst = randomImage(region.width, region.height, channels, region.padding + 2, 2, seed + 1);
      return outcome(fn(src.data(), src.step, dst.data(), dst.step, src.size(), extra...), dst.bytes);
    });
  }
}

/// The --bench input of a two-image entry: a 1920 x 1080 frame.
template <typename Fn, typename... Extra>
void benchTwoImage(Registry& registry, Fn* px, int channels, int reach, Extra... extra) {
  registry.bench<Fn>(px, "1920x1080", [=](Fn* fn) {
    static const TestImage src = randomImage(1920, 1080, channels, 0, reach, 5);
    static TestImage dst(1920, 1080, channels);
    return outcome(fn(src.data(), src.step, dst.data(), dst.step, src.size(), extra...));
  });
}

// The families' trials.
void addGeometryTrials(Registry& registry);
void addFilterTrials(Registry& registry);
void addExtremeFilterTrials(Registry& registry);
void addColorConversionTrials(Registry& registry);
void addPointOperationTrials(Registry& registry);

}  // namespace fc::test::variants
