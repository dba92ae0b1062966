// entry_variants.h - every published variant function of an entry, by tag,
// so tests can run each on the same input and compare with px.
//   for (auto& v : fc::test::variantsOf_ippiGammaFwd_8u_C3R()) v.fn(...);
#pragma once

#include <string>
#include <vector>

#include "dispatch/primitives.h"

namespace fc::test {

template <typename Fn>
struct NamedVariant {
  std::string tag;
  Fn* fn;
};

#define FC_NAMED(tag, name) {#tag, tag##_##name}
#define FC_NAMED_VARIANTS_A(name) FC_NAMED(px, name), FC_NAMED(a6, name), FC_NAMED(w7, name), FC_NAMED(t7, name)
#define FC_NAMED_VARIANTS_B(name) FC_NAMED(px, name), FC_NAMED(a6, name), FC_NAMED(t7, name)
#define FC_NAMED_VARIANTS_C(name) FC_NAMED(px, name), FC_NAMED(a6, name), FC_NAMED(w7, name)

#define FC_ENTRY(name, unit, pattern, fpu, params, args)                     \
  inline std::vector<NamedVariant<decltype(px_##name)>> variantsOf_##name() { \
    return {FC_NAMED_VARIANTS_##pattern(name)};                              \
  }
#include "dispatch/entry_table.def"
#undef FC_ENTRY

}  // namespace fc::test
