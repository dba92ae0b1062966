// binding_probe - binds every entry point of the table in this process by
// calling it once with all-zero arguments, then prints one line per entry:
//   <name> <pattern> <tag bound> <first status> <second status> <started unbound>
// The test runs it under several FRAMECRAFT_CPU_CODE values.
#include <dlfcn.h>

#include <cstdio>
#include <string>

#include "dispatch/primitives.h"

namespace {

template <typename Fn>
Fn* load(Fn*& entry) {
  return __atomic_load_n(&entry, __ATOMIC_RELAXED);
}

template <typename Fn>
struct Caller;
template <typename... Args>
struct Caller<IppStatus(Args...)> {
  static IppStatus withZeros(IppStatus (*fn)(Args...)) { return fn(Args{}...); }
};

void* variantAddress(const char* tag, const char* name) {
  return dlsym(RTLD_DEFAULT, (std::string(tag) + "_" + name).c_str());
}

template <typename Fn>
void probe(const char* name, const char* pattern, Fn*& entry) {
  static const char* const kTags[] = {"px", "a6", "w7", "t7"};
  auto tagOf = [&](Fn* fn) -> const char* {
    for (const char* tag : kTags)
      if (variantAddress(tag, name) == reinterpret_cast<void*>(fn)) return tag;
    return "none";
  };
  const bool startedUnbound = std::string(tagOf(load(entry))) == "none";
  const IppStatus first = Caller<Fn>::withZeros(load(entry));
  Fn* bound = load(entry);
  const IppStatus second = Caller<Fn>::withZeros(bound);
  const bool stable = load(entry) == bound;
  std::printf("%s %s %s %d %d %d\n", name, pattern, stable ? tagOf(bound) : "rebound", first, second,
              startedUnbound ? 1 : 0);
}

}  // namespace

int main() {
#define FC_ENTRY(name, unit, pattern, fpu, params, args) probe(#name, #pattern, name);
#include "dispatch/entry_table.def"
#undef FC_ENTRY
  return 0;
}
