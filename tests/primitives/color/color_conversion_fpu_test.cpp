// The first call of ippiRGBToLUV_8u_C3R in a process puts the calling
// thread's x87 unit in its power-on state (control word 0x037F) and leaves it
// so; later calls, and the first call of other conversions, leave the control
// word alone. Entries bind once per process, so each case runs in a fresh
// probe process.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string runProbe(const std::string& entry) {
  const std::string command = std::string(FPU_PROBE_PATH) + " " + entry;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return "";
  char buffer[64] = {};
  const bool read = std::fgets(buffer, sizeof buffer, pipe) != nullptr;
  const int status = pclose(pipe);
  if (!read || status != 0) return "failed";
  std::string line(buffer);
  if (!line.empty() && line.back() == '\n') line.pop_back();
  return line;
}

TEST(ColourConversionFpu, LuvBinderResetsTheX87ControlWordOnce) {
  const std::string words = runProbe("luv");
  if (words == "unsupported") GTEST_SKIP() << "no x87 unit";
  EXPECT_EQ(words, "037f 027f");
}

TEST(ColourConversionFpu, OtherConversionsLeaveTheControlWord) {
  const std::string words = runProbe("yuv");
  if (words == "unsupported") GTEST_SKIP() << "no x87 unit";
  EXPECT_EQ(words, "027f 027f");
}

}  // namespace
