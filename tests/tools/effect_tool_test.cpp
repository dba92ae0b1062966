// The tool's effect commands, and the example forms of the effect hosts run
// through it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "contracts/video/image_buffer.h"
#include "dispatch/primitives.h"
#include "platform/runtime/picture.h"
#include "tests/tools/tool_dir_test.h"

namespace fc::test {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = FC_EXAMPLES_DIR;

class EffectTool : public TToolDirTest {};

TEST_F(EffectTool, EffectsListsTheInstalledEffectsWithTheirParameters) {
  // The listing makes one instance of every effect installed on the machine
  // to read its defaults, and some third-party effects leak in their own
  // constructors: the leak check is not ours to pass for them. Our host's
  // own leaks are checked with known effects in the plug-in tests.
  const char* previous = std::getenv("ASAN_OPTIONS");
  const std::string kept = previous ? previous : "";
  setenv("ASAN_OPTIONS", (kept.empty() ? "detect_leaks=0" : kept + ":detect_leaks=0").c_str(), 1);
  const TChildResult r = Tool({"effects"});
  if (previous)
    setenv("ASAN_OPTIONS", kept.c_str(), 1);
  else
    unsetenv("ASAN_OPTIONS");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Invert0r  (filter, "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("    Brightness: double = 0.5"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("addition  (mixer2, "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(" video effects\n"), std::string::npos) << r.out;
}

TEST_F(EffectTool, PluginPrintsAFreeFramePlugInOrWhyItIsNotOne) {
  TChildResult r = Tool({"plugin", FC_EXAMPLE_FF_BLEND});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Mixes two frames"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("capabilities: 24-bit 32-bit frame-copy"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("inputs: 2 to 2"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("    Mix: float = 0.5  (TFCStandardFreeFrameParameter)"), std::string::npos) << r.out;
  r = Tool({"plugin", FC_TEST_FF_NO_ENTRY});
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("plugMain"), std::string::npos) << r.err;
  EXPECT_NE(Tool({"plugin"}).status, 0);
}

// The first pixel of a PNG the tool wrote, blue first.
std::vector<int> FirstPixel(const fs::path& png) {
  TPicture picture(nullptr, "Picture");
  picture.LoadFromFile(png);
  const std::vector<std::uint8_t>& rgba = picture.Pixels();
  return {rgba.at(2), rgba.at(1), rgba.at(0)};
}

std::vector<int> JaehneFirstPixel() {
  TFCImageBuffer frame(256, 192);
  fc_entry(ippiImageJaehne_8u_C3R)(frame.Write(), frame.Step(), frame.SizeRecord());
  return {frame.Read()[0], frame.Read()[1], frame.Read()[2]};
}

TEST_F(EffectTool, TheExampleFormsInvertTheJaehnePattern) {
  std::vector<int> inverted = JaehneFirstPixel();
  for (int& v : inverted) v = 255 - v;
  TChildResult r = Tool({"run", (kExamples / "frei0r_invert.fcf").string(), "--frames", "2", "--dump",
                         "Invert1.OutputPin=frei0r"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(FirstPixel(dir_ / "frei0r" / "000001.png"), inverted);

  r = Tool({"run", (kExamples / "freeframe_invert.fcf").string(), "--frames", "2", "--set",
            std::string("Invert1.FilterFileName=") + FC_EXAMPLE_FF_INVERT, "--dump", "Invert1.OutputPin=freeframe"});
  ASSERT_EQ(r.status, 0) << r.err;
  // The form asks for three quarters of the inversion: v + 0.75 (255 - 2v).
  std::vector<int> partly = JaehneFirstPixel();
  for (int& v : partly) v = v + static_cast<int>((255 - 2 * v) * 0.75f + (v < 128 ? 0.5f : -0.5f));
  EXPECT_EQ(FirstPixel(dir_ / "freeframe" / "000001.png"), partly);
}

}  // namespace
}  // namespace fc::test
