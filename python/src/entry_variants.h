// entry_variants.h - the published entries as the Python module calls them:
// through the bound entry variable, or through one forced code variant.
#pragma once

#include <string>

#include "dispatch/primitives.h"

namespace fcpy {

/// The code variants by tag; Bound means "whatever the entry is bound to".
enum class TVariantTag { Bound = -1, px = 0, a6 = 1, w7 = 2, t7 = 3 };

/// The variant the calling thread forces (framecraft.variant); Bound when
/// none is forced.
TVariantTag ForcedVariant();
void SetForcedVariant(TVariantTag tag);
/// "px", "a6", "w7", "t7" or "bound".
TVariantTag ParseVariantTag(const std::string& text);
const char* VariantTagName(TVariantTag tag);
/// Whether this processor can run the tag's code (t7 needs AVX2, w7 SSE4.1).
bool ProcessorRuns(TVariantTag tag);

/// One published entry: its name, its variable and its variant functions
/// (null where the entry's binding pattern has no such variant).
template <class Fn>
struct TEntry {
  const char* name;
  Fn** bound;
  Fn* variants[4];

  /// The function a call goes to on this thread: the forced variant, or px
  /// where the entry has none of that tag (as its binder would choose for
  /// that processor class), or the bound entry.
  Fn* Target() const {
    const TVariantTag tag = ForcedVariant();
    if (tag == TVariantTag::Bound) return fc_entry(*bound);
    Fn* chosen = variants[static_cast<int>(tag)];
    return chosen ? chosen : variants[0];
  }
};

#define FCPY_VARIANTS_A(name) {px_##name, a6_##name, w7_##name, t7_##name}
#define FCPY_VARIANTS_B(name) {px_##name, a6_##name, nullptr, t7_##name}
#define FCPY_VARIANTS_C(name) {px_##name, a6_##name, w7_##name, nullptr}
// kEntry_<name> for every row of the entry table.
#define FC_ENTRY(name, unit, pattern, fpu, params, args) \
  inline const TEntry<IppStatus params> kEntry_##name{#name, &name, FCPY_VARIANTS_##pattern(name)};
#include "dispatch/entry_table.def"
#undef FC_ENTRY
#undef FCPY_VARIANTS_A
#undef FCPY_VARIANTS_B
#undef FCPY_VARIANTS_C

}  // namespace fcpy
