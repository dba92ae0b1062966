#include <gtest/gtest.h>

#include "dispatch/binding.h"

namespace {

using fc::dispatch::Pattern;
using fc::dispatch::Variant;
using fc::dispatch::variantFor;

TEST(BindingRule, EveryCodeSelectsAVariantThePatternHas) {
  for (int code = 0; code < 256; ++code) {
    const auto c = static_cast<std::uint8_t>(code);
    EXPECT_NE(variantFor(Pattern::B, c), Variant::w7) << code;
    EXPECT_NE(variantFor(Pattern::C, c), Variant::t7) << code;
  }
}

TEST(BindingRule, ClassesMapAsTabled) {
  struct Row {
    int code;
    Variant a, b, c;
  };
  const Row rows[] = {
      {0, Variant::px, Variant::px, Variant::px},   {4, Variant::px, Variant::px, Variant::px},
      {5, Variant::a6, Variant::a6, Variant::a6},   {6, Variant::w7, Variant::px, Variant::w7},
      {7, Variant::w7, Variant::px, Variant::px},   {9, Variant::w7, Variant::px, Variant::px},
      {10, Variant::px, Variant::px, Variant::px},  {15, Variant::px, Variant::px, Variant::px},
      {16, Variant::t7, Variant::t7, Variant::px},  {17, Variant::t7, Variant::t7, Variant::px},
      {18, Variant::px, Variant::px, Variant::px},  {255, Variant::px, Variant::px, Variant::px},
  };
  for (const auto& r : rows) {
    const auto c = static_cast<std::uint8_t>(r.code);
    EXPECT_EQ(variantFor(Pattern::A, c), r.a) << r.code;
    EXPECT_EQ(variantFor(Pattern::B, c), r.b) << r.code;
    EXPECT_EQ(variantFor(Pattern::C, c), r.c) << r.code;
  }
}

}  // namespace
