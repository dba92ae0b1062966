// processor_class.cpp - Global_CPU: the processor class the binders use.
#include <cstdlib>
#include <cstring>

#include "dispatch/binding.h"
#include "dispatch/primitives.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#define FC_X86 1
#endif

namespace {

constexpr const char* kOverrideVariable = "FRAMECRAFT_CPU_CODE";

// The override when it is a decimal number from 0 to 255, else -1.
int overrideCode() {
  const char* text = std::getenv(kOverrideVariable);
  if (text == nullptr || *text == '\0') return -1;
  char* end = nullptr;
  long value = std::strtol(text, &end, 10);
  if (*end != '\0' || value < 0 || value > 255) return -1;
  return static_cast<int>(value);
}

#ifdef FC_X86
// AVX2 needs the instruction set and an operating system that saves the
// YMM registers (OSXSAVE, and XCR0 bits 1 and 2).
bool hasUsableAvx2() {
  unsigned a, b, c, d;
  if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
  const bool osxsave = (c & bit_OSXSAVE) != 0;
  const bool avx = (c & bit_AVX) != 0;
  if (!osxsave || !avx) return false;
  unsigned xcr0Low, xcr0High;
  __asm__ volatile("xgetbv" : "=a"(xcr0Low), "=d"(xcr0High) : "c"(0));
  if ((xcr0Low & 0x6) != 0x6) return false;
  if (!__get_cpuid_count(7, 0, &a, &b, &c, &d)) return false;
  return (b & bit_AVX2) != 0;
}

bool hasSse41() {
  unsigned a, b, c, d;
  return __get_cpuid(1, &a, &b, &c, &d) && (c & bit_SSE4_1) != 0;
}
#endif

int detectedCode() {
#ifdef FC_X86
  if (hasUsableAvx2()) return 16;
  if (hasSse41()) return 7;
  return 6;
#else
  return 0;
#endif
}

}  // namespace

extern "C" FC_API int Global_CPU(void) {
  const int forced = overrideCode();
  return forced >= 0 ? forced : detectedCode();
}

namespace fc::dispatch {

std::uint8_t processorClass() { return static_cast<std::uint8_t>(Global_CPU() & 0xFF); }

bool processorRuns(Variant variant) {
#ifdef FC_X86
  switch (variant) {
    case Variant::t7: {
      static const bool avx2 = hasUsableAvx2();
      return avx2;
    }
    case Variant::w7: {
      static const bool sse41 = hasSse41();
      return sse41;
    }
    case Variant::px:
    case Variant::a6: break;
  }
#else
  (void)variant;
#endif
  return true;
}

void resetX87() {
#ifdef FC_X86
  __asm__ volatile("fninit");
#endif
}

}  // namespace fc::dispatch
