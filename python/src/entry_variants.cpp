#include "entry_variants.h"

#include <stdexcept>

namespace fcpy {

namespace {
thread_local TVariantTag forced = TVariantTag::Bound;
}

TVariantTag ForcedVariant() { return forced; }
void SetForcedVariant(TVariantTag tag) { forced = tag; }

TVariantTag ParseVariantTag(const std::string& text) {
  if (text == "px") return TVariantTag::px;
  if (text == "a6") return TVariantTag::a6;
  if (text == "w7") return TVariantTag::w7;
  if (text == "t7") return TVariantTag::t7;
  if (text == "bound") return TVariantTag::Bound;
  throw std::invalid_argument("unknown code variant '" + text + "' (px, a6, w7, t7 or bound)");
}

const char* VariantTagName(TVariantTag tag) {
  switch (tag) {
    case TVariantTag::px: return "px";
    case TVariantTag::a6: return "a6";
    case TVariantTag::w7: return "w7";
    case TVariantTag::t7: return "t7";
    case TVariantTag::Bound: break;
  }
  return "bound";
}

bool ProcessorRuns(TVariantTag tag) {
#if defined(__x86_64__) || defined(__i386__)
  // The checks include the operating system's support for the wider registers.
  if (tag == TVariantTag::t7) return __builtin_cpu_supports("avx2");
  if (tag == TVariantTag::w7) return __builtin_cpu_supports("sse4.1");
#else
  (void)tag;  // elsewhere every variant forwards to portable code
#endif
  return true;
}

}  // namespace fcpy
