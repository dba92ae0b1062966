// The shared library publishes exactly the entry-point variables, their
// variant functions, the allocator and Global_CPU; nothing else leaks.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

namespace {

std::set<std::string> expectedSymbols() {
  std::set<std::string> names = {"Global_CPU",     "ippsMalloc_8u",  "ippsMalloc_16u",
                                 "ippsMalloc_32s", "ippsMalloc_32f", "ippsFree"};
  auto add = [&](const char* name, std::initializer_list<const char*> tags) {
    names.insert(name);
    for (const char* tag : tags) names.insert(std::string(tag) + "_" + name);
  };
#define FC_TAGS_A {"px", "a6", "w7", "t7"}
#define FC_TAGS_B {"px", "a6", "t7"}
#define FC_TAGS_C {"px", "a6", "w7"}
#define FC_ENTRY(name, unit, pattern, ...) add(#name, FC_TAGS_##pattern);
#include "dispatch/entry_table.def"
#undef FC_ENTRY
  (void)add;  // unused while the table is empty
  return names;
}

std::set<std::string> publishedSymbols() {
  std::set<std::string> names;
  FILE* pipe = popen("nm -D --defined-only " FRAMECRAFT_LIBRARY_PATH, "r");
  if (pipe == nullptr) return names;
  char line[1024];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    std::istringstream in(line);
    std::string address, kind, name;
    if (in >> address >> kind >> name) names.insert(name);
  }
  pclose(pipe);
  return names;
}

TEST(ExportedSymbols, ExactlyTheEntriesVariantsAllocatorAndProcessorClass) {
  const auto expected = expectedSymbols();
  const auto published = publishedSymbols();
  for (const auto& name : expected) EXPECT_TRUE(published.count(name)) << "missing: " << name;
  for (const auto& name : published) EXPECT_TRUE(expected.count(name)) << "leaked: " << name;
}

}  // namespace
