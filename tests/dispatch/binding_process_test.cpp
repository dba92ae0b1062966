// Runs the binding probe in child processes, one per forced processor class,
// so that every entry point binds exactly once per process.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>

#include "dispatch/primitives.h"

namespace {

struct ProbeLine {
  std::string pattern, tag;
  int firstStatus = 0, secondStatus = 0, startedUnbound = 0;
};

std::map<std::string, ProbeLine> runProbe(const std::string& environment) {
  std::map<std::string, ProbeLine> lines;
  const std::string command = environment + " " + BINDING_PROBE_PATH;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return lines;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
    std::istringstream in(buffer);
    std::string name;
    ProbeLine line;
    in >> name >> line.pattern >> line.tag >> line.firstStatus >> line.secondStatus >> line.startedUnbound;
    lines[name] = line;
  }
  pclose(pipe);
  return lines;
}

// The binding table as data: for each range of processor codes, the variant
// an entry of pattern A, B and C runs.
struct CodeRange {
  int first, last;
  std::string a, b, c;
};
const CodeRange kBindingTable[] = {
    {0, 4, "px", "px", "px"},   {5, 5, "a6", "a6", "a6"},   {6, 6, "w7", "px", "w7"},   {7, 9, "w7", "px", "px"},
    {10, 15, "px", "px", "px"}, {16, 17, "t7", "t7", "px"}, {18, 255, "px", "px", "px"},
};

std::string expectedTag(const std::string& pattern, int code) {
  for (const CodeRange& r : kBindingTable)
    if (code >= r.first && code <= r.last) return pattern == "A" ? r.a : pattern == "B" ? r.b : r.c;
  return "no such code";
}

int entryCount() {
  int n = 0;
#define FC_ENTRY(...) ++n;
#include "dispatch/entry_table.def"
#undef FC_ENTRY
  return n;
}

// Every processor code, in a process of its own: each entry binds on its first
// call to the variant the table gives its pattern, and keeps it.
TEST(BindingPerClass, EveryCodeBindsEveryEntryToTheTablesVariantAndKeepsIt) {
  const int entries = entryCount();
  for (int code = 0; code < 256; ++code) {
    const auto lines = runProbe("FRAMECRAFT_CPU_CODE=" + std::to_string(code));
    ASSERT_EQ(static_cast<int>(lines.size()), entries) << "code " << code;
    for (const auto& [name, line] : lines) {
      EXPECT_EQ(line.tag, expectedTag(line.pattern, code)) << name << " pattern " << line.pattern << " code " << code;
      EXPECT_EQ(line.startedUnbound, 1) << name << " was bound before its first call";
      // All-zero arguments are invalid for every primitive: the first call
      // binds and returns the primitive's own error, the second the same.
      EXPECT_LT(line.firstStatus, 0) << name;
      EXPECT_EQ(line.firstStatus, line.secondStatus) << name;
    }
  }
}

TEST(BindingDetected, WithoutOverrideEveryEntryBindsToARealVariant) {
  const auto lines = runProbe("env -u FRAMECRAFT_CPU_CODE");
  ASSERT_EQ(static_cast<int>(lines.size()), entryCount());
  for (const auto& [name, line] : lines) EXPECT_NE(line.tag, "none") << name;
}

TEST(GlobalCpu, OverrideIsReadAsDecimalAndIgnoredWhenInvalid) {
  const int detected = Global_CPU();
  EXPECT_TRUE(detected == 0 || detected == 6 || detected == 7 || detected == 16 ||
              getenv("FRAMECRAFT_CPU_CODE") != nullptr);
  setenv("FRAMECRAFT_CPU_CODE", "17", 1);
  EXPECT_EQ(Global_CPU(), 17);
  setenv("FRAMECRAFT_CPU_CODE", "256", 1);
  const int outOfRange = Global_CPU();
  setenv("FRAMECRAFT_CPU_CODE", "7x", 1);
  const int garbage = Global_CPU();
  unsetenv("FRAMECRAFT_CPU_CODE");
  EXPECT_EQ(outOfRange, Global_CPU());
  EXPECT_EQ(garbage, Global_CPU());
}

}  // namespace
