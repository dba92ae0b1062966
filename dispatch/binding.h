// binding.h - the rule that maps a processor class to a code variant, and the
// pieces every binder is made of. Internal to the library.
#pragma once

#include <atomic>
#include <cstdint>
#include <type_traits>

namespace fc::dispatch {

/// Binding patterns: which variants an entry has.
/// A: px a6 w7 t7;  B: px a6 t7;  C: px a6 w7.
enum class Pattern { A, B, C };

enum class Variant { px, a6, w7, t7 };

/// The variant an entry of the given pattern runs on processor class `code`
/// (the low 8 bits of Global_CPU()). Code 5 allows SSE2 (a6), codes 6 to 9
/// up to SSE4.1 (w7), codes 16 and 17 up to AVX2 (t7).
constexpr Variant variantFor(Pattern pattern, std::uint8_t code) {
  if (code == 5) return Variant::a6;
  const bool upToSse41Class = code >= 6 && code <= 9;
  const bool upToAvx2Class = code == 16 || code == 17;
  switch (pattern) {
    case Pattern::A:
      if (upToSse41Class) return Variant::w7;
      if (upToAvx2Class) return Variant::t7;
      return Variant::px;
    case Pattern::B:
      return upToAvx2Class ? Variant::t7 : Variant::px;
    case Pattern::C:
      return code == 6 ? Variant::w7 : Variant::px;
  }
  return Variant::px;
}

/// Reads the processor class once for this binding.
std::uint8_t processorClass();

/// Whether this processor has the instructions `variant` may use, whatever
/// FRAMECRAFT_CPU_CODE says: px and a6 run on any x86-64, w7 needs SSE4.1,
/// t7 AVX2 with the operating system's support. Off x86 every variant
/// symbol is px code and runs.
bool processorRuns(Variant variant);

/// Puts the calling thread's x87 unit in its power-on state (all exceptions
/// masked, 64-bit significand, round to nearest, stack empty). No-op off x86.
void resetX87();

/// Picks the variant for `pattern` on this processor. Missing variants are
/// null; the pattern never selects them.
template <typename Fn>
Fn* chooseVariant(Pattern pattern, Fn* px, std::type_identity_t<Fn*> a6,
                  std::type_identity_t<Fn*> w7, std::type_identity_t<Fn*> t7) {
  switch (variantFor(pattern, processorClass())) {
    case Variant::a6: return a6;
    case Variant::w7: return w7;
    case Variant::t7: return t7;
    case Variant::px: break;
  }
  return px;
}

/// Stores the chosen variant with one atomic pointer-sized write.
template <typename Fn>
void storeEntry(Fn*& entry, Fn* variant) {
  __atomic_store_n(&entry, variant, __ATOMIC_RELAXED);
}

}  // namespace fc::dispatch

#define FC_VARIANTS_A(name) px_##name, a6_##name, w7_##name, t7_##name
#define FC_VARIANTS_B(name) px_##name, a6_##name, nullptr, t7_##name
#define FC_VARIANTS_C(name) px_##name, a6_##name, w7_##name, nullptr

#define FC_FPU_KEEP()
#define FC_FPU_RESET_X87() ::fc::dispatch::resetX87();

/// Defines the binder SetUp_<name> and the entry-point variable, which starts
/// at the binder.
#define FC_DEFINE_ENTRY(name, pattern, fpu, params, args)                               \
  static IppStatus SetUp_##name params {                                                \
    auto* variant = ::fc::dispatch::chooseVariant(::fc::dispatch::Pattern::pattern,     \
                                                  FC_VARIANTS_##pattern(name));         \
    ::fc::dispatch::storeEntry(name, variant);                                          \
    FC_FPU_##fpu()                                                                      \
    return variant args;                                                                \
  }                                                                                     \
  FC_API IppStatus(*name) params = SetUp_##name;
