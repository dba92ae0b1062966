// The first call of ippiRotate_8u_C3R puts the calling thread's x87 unit in
// its power-on state; the first call of ippiRotate_8u_C1R leaves it alone.
// Entries bind once per process, so each case runs in a fresh probe process.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string probe(const std::string& entry) {
  FILE* pipe = popen((std::string(ROTATE_FPU_PROBE_PATH) + " " + entry).c_str(), "r");
  if (pipe == nullptr) return "";
  char line[64] = {};
  const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
  pclose(pipe);
  return read ? std::string(line) : "";
}

TEST(RotateFpuState, FirstThreeChannelCallResetsTheX87ControlWord) {
#if defined(__x86_64__) || defined(__i386__)
  EXPECT_EQ(probe("ippiRotate_8u_C3R"), "0 0x037F\n");
  EXPECT_EQ(probe("ippiRotate_8u_C1R"), "0 0x027F\n");
#else
  GTEST_SKIP() << "no x87 unit";
#endif
}

}  // namespace
