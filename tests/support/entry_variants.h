// entry_variants.h - every published variant function of an entry, by tag,
// so tests can run each on the same input and compare with px.
//   for (auto& v : fc::test::variantsOf_ippiGammaFwd_8u_C3R()) v.fn(...);
// Variants whose instructions this processor lacks (w7 needs SSE4.1, t7
// AVX2) are left out, so the same tests run on any x86-64 machine; the
// variant checker reports them as skipped.
#pragma once

#include <string>
#include <vector>

#include "dispatch/binding.h"
#include "dispatch/primitives.h"

namespace fc::test {

template <typename Fn>
struct NamedVariant {
  std::string tag;
  Fn* fn;
};

/// Whether this processor can run the variant with the given tag.
inline bool variantRunsHere(const std::string& tag) {
  using fc::dispatch::Variant;
  return fc::dispatch::processorRuns(tag == "t7" ? Variant::t7 : tag == "w7" ? Variant::w7 : Variant::px);
}

template <typename Fn>
std::vector<NamedVariant<Fn>> runnableHere(std::vector<NamedVariant<Fn>> all) {
  std::vector<NamedVariant<Fn>> runnable;
  for (auto& v : all)
    if (variantRunsHere(v.tag)) runnable.push_back(v);
  return runnable;
}

#define FC_NAMED(tag, name) {#tag, tag##_##name}
#define FC_NAMED_VARIANTS_A(name) FC_NAMED(px, name), FC_NAMED(a6, name), FC_NAMED(w7, name), FC_NAMED(t7, name)
#define FC_NAMED_VARIANTS_B(name) FC_NAMED(px, name), FC_NAMED(a6, name), FC_NAMED(t7, name)
#define FC_NAMED_VARIANTS_C(name) FC_NAMED(px, name), FC_NAMED(a6, name), FC_NAMED(w7, name)

#define FC_ENTRY(name, unit, pattern, fpu, params, args)                     \
  inline std::vector<NamedVariant<decltype(px_##name)>> variantsOf_##name() { \
    return runnableHere<decltype(px_##name)>({FC_NAMED_VARIANTS_##pattern(name)});                              \
  }
#include "dispatch/entry_table.def"
#undef FC_ENTRY

}  // namespace fc::test
