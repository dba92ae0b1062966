// variant_checker - calls every <tag>_ function of every entry on the same
// inputs as px and compares the bytes. Prints one line per entry and one
// column per tag:
//   equal               every trial gave px's bytes
//   differs at byte N   the first trial that did not (named below the table)
//   forwards to px      the variant is not written yet; its symbol calls px
//   skipped             this processor lacks the variant's instructions
// Exits non-zero when a variant differs or an entry has no trials.
//   variant_checker [--bench] [name-substring]
// --bench also times every tag on a large input and prints its speed
// relative to px.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "dispatch/binding.h"
#include "dispatch/px_forwarders.h"
#include "tests/primitives/variants/variant_checker.h"

namespace fc::test::variants {

#define FC_CHECKED(tag, name) Variant{#tag, reinterpret_cast<AnyFunction>(tag##_##name),
#define FC_CHECKED_PX(name) FC_CHECKED(px, name) nullptr}
#define FC_CHECKED_SIMD(tag, name) FC_CHECKED(tag, name) reinterpret_cast<AnyFunction>(fc_forwarder_##tag##_##name)}
#define FC_CHECKED_A(name) \
  FC_CHECKED_PX(name), FC_CHECKED_SIMD(a6, name), FC_CHECKED_SIMD(w7, name), FC_CHECKED_SIMD(t7, name)
#define FC_CHECKED_B(name) FC_CHECKED_PX(name), FC_CHECKED_SIMD(a6, name), FC_CHECKED_SIMD(t7, name)
#define FC_CHECKED_C(name) FC_CHECKED_PX(name), FC_CHECKED_SIMD(a6, name), FC_CHECKED_SIMD(w7, name)

Registry::Registry() {
#define FC_ENTRY(name, unit, pattern, fpu, params, args) \
  entries_.push_back(Entry{#name, {FC_CHECKED_##pattern(name)}, {}, {}});
#include "dispatch/entry_table.def"
#undef FC_ENTRY
}

Entry& Registry::entryOfPx(AnyFunction px) {
  for (Entry& entry : entries_)
    if (entry.variants.front().fn == px) return entry;
  std::fprintf(stderr, "variant_checker: a trial names a function that is no px entry\n");
  std::abort();
}

std::string describe(const Region& region) {
  return std::to_string(region.width) + "x" + std::to_string(region.height) + " step+" +
         std::to_string(region.padding);
}

namespace {

constexpr int kNameWidth = 36;
constexpr int kCellWidth = 20;
const char* const kTags[] = {"px", "a6", "w7", "t7"};

dispatch::Variant variantOfTag(const std::string& tag) {
  if (tag == "a6") return dispatch::Variant::a6;
  if (tag == "w7") return dispatch::Variant::w7;
  if (tag == "t7") return dispatch::Variant::t7;
  return dispatch::Variant::px;
}

const char* instructionsOf(const std::string& tag) { return tag == "t7" ? "AVX2" : tag == "w7" ? "SSE4.1" : "SSE2"; }

struct Verdict {
  std::string cell;
  std::string detail;  // for a difference: the trial and what differs
  bool failed = false;
};

/// First index where two outcomes differ; the shorter length when one is a prefix.
std::size_t firstDifference(const Outcome& a, const Outcome& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i)
    if (a[i] != b[i]) return i;
  return n;
}

Verdict check(const Variant& variant, const std::vector<Trial>& trials, const std::vector<Outcome>& reference) {
  if (variant.forwarder != nullptr && variant.fn == variant.forwarder) return {"forwards to px", "", false};
  if (!dispatch::processorRuns(variantOfTag(variant.tag)))
    return {std::string("skipped (no ") + instructionsOf(variant.tag) + ")", "", false};
  for (std::size_t t = 0; t < trials.size(); ++t) {
    const Outcome got = trials[t].run(variant.fn);
    if (got == reference[t]) continue;
    const std::size_t at = firstDifference(got, reference[t]);
    const std::string where = at < sizeof(IppStatus) ? "status" : "byte " + std::to_string(at - sizeof(IppStatus));
    return {"differs at " + where, "trial " + trials[t].label + ": px gave " +
                                       (at < reference[t].size() ? std::to_string(reference[t][at]) : "nothing") +
                                       ", the variant " + (at < got.size() ? std::to_string(got[at]) : "nothing"),
            true};
  }
  return {"equal", "", false};
}

std::string padded(std::string text, int width) {
  if (static_cast<int>(text.size()) < width) text.resize(width, ' ');
  return text + " ";
}

const Variant* variantWithTag(const Entry& entry, const char* tag) {
  for (const Variant& v : entry.variants)
    if (v.tag == tag) return &v;
  return nullptr;
}

/// Checks every entry and prints the table; true when nothing differs.
bool checkAll(const std::vector<Entry>& entries) {
  std::printf("%s", padded("entry", kNameWidth).c_str());
  for (const char* tag : kTags) std::printf("%s", padded(tag, kCellWidth).c_str());
  std::printf("\n");
  bool ok = true;
  std::vector<std::string> details;
  for (const Entry& entry : entries) {
    std::printf("%s", padded(entry.name, kNameWidth).c_str());
    if (entry.trials.empty()) {
      std::printf("no trials\n");
      ok = false;
      continue;
    }
    std::vector<Outcome> reference;
    for (const Trial& trial : entry.trials) reference.push_back(trial.run(entry.variants.front().fn));
    for (const char* tag : kTags) {
      const Variant* variant = variantWithTag(entry, tag);
      std::string cell = "-";
      if (variant == nullptr) {
      } else if (variant->tag == "px") {
        cell = std::to_string(entry.trials.size()) + " trials";
      } else {
        const Verdict verdict = check(*variant, entry.trials, reference);
        cell = verdict.cell;
        if (verdict.failed) {
          ok = false;
          details.push_back(entry.name + " [" + tag + "] " + verdict.detail);
        }
      }
      std::printf("%s", padded(cell, kCellWidth).c_str());
    }
    std::printf("\n");
  }
  for (const std::string& line : details) std::printf("%s\n", line.c_str());
  return ok;
}

/// Seconds per call of `variant` on the bench input: repeated until a
/// tenth of a second has passed, the best of three rounds.
double secondsPerCall(const Trial& bench, AnyFunction fn) {
  using Clock = std::chrono::steady_clock;
  double best = 1e30;
  for (int round = 0; round < 3; ++round) {
    int calls = 0;
    const auto start = Clock::now();
    double elapsed = 0;
    do {
      bench.run(fn);
      ++calls;
      elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < 0.1 / 3);
    best = std::min(best, elapsed / calls);
  }
  return best;
}

void benchAll(const std::vector<Entry>& entries) {
  std::printf("\ntimes per call on the bench input; tags as speed relative to px\n");
  for (const Entry& entry : entries) {
    if (!entry.bench.run) continue;
    const double px = secondsPerCall(entry.bench, entry.variants.front().fn);
    std::printf("%s%s", padded(entry.name, kNameWidth).c_str(),
                padded(std::to_string(px * 1e3).substr(0, 7) + " ms " + entry.bench.label, kCellWidth + 8).c_str());
    for (const Variant& v : entry.variants) {
      if (v.tag == "px") continue;
      std::string cell = v.tag + " ";
      if (v.forwarder != nullptr && v.fn == v.forwarder)
        cell += "forwards";
      else if (!dispatch::processorRuns(variantOfTag(v.tag)))
        cell += "skipped";
      else
        cell += "x" + std::to_string(px / secondsPerCall(entry.bench, v.fn)).substr(0, 5);
      std::printf("%s", padded(cell, 14).c_str());
    }
    std::printf("\n");
  }
}

}  // namespace
}  // namespace fc::test::variants

int main(int argc, char** argv) {
  using namespace fc::test::variants;
  bool bench = false;
  std::string only;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--bench") == 0)
      bench = true;
    else
      only = argv[i];
  }
  Registry registry;
  addGeometryTrials(registry);
  addFilterTrials(registry);
  addExtremeFilterTrials(registry);
  addColorConversionTrials(registry);
  addPointOperationTrials(registry);
  std::vector<Entry> selected;
  for (Entry& entry : registry.entries())
    if (entry.name.find(only) != std::string::npos) selected.push_back(std::move(entry));
  const bool ok = checkAll(selected);
  if (bench) benchAll(selected);
  return ok ? 0 : 1;
}
