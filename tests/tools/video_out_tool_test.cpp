// The video output through the framecraft tool: the example forms paced by
// the null device and writing a DV stream, and preview windows on any pin.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>

#include "tests/tools/tool_dir_test.h"

namespace fc::test {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = FC_EXAMPLES_DIR;

class VideoOutTool : public TToolDirTest {
protected:
  void SetUp() override {
    TToolDirTest::SetUp();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
  }
  static double Seconds(const std::string& out) {
    std::smatch m;
    return std::regex_search(out, m, std::regex(" frames in ([0-9.]+) s")) ? std::stod(m[1]) : -1;
  }
};

TEST_F(VideoOutTool, TheNullDevicePacesTheJaehnePatternAtItsRate) {
  const TChildResult r = Tool({"run", (kExamples / "null_output.fcf").string(), "--frames", "25"});
  ASSERT_EQ(r.status, 0) << r.err;
  // 25 frames at 25 per second: the first at once, the last 24 frame
  // durations later.
  EXPECT_GE(Seconds(r.out), 24 * 0.04 * 0.95) << r.out;
  EXPECT_NE(r.out.find("25 frames"), std::string::npos) << r.out;
}

TEST_F(VideoOutTool, AGeneratedClipIsWrittenAsADVStream) {
  const TChildResult r = Tool({"run", (kExamples / "dv_stream.fcf").string(), "--frames", "10"});
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_TRUE(fs::exists(dir_ / "out.dv")) << r.out;
  EXPECT_EQ(fs::file_size(dir_ / "out.dv") % 144000, 0u);  // whole PAL DV frames
  EXPECT_GE(fs::file_size(dir_ / "out.dv"), 10u * 144000);
}

TEST_F(VideoOutTool, APreviewWindowShowsAnyPinAndNeedsADisplay) {
  const std::string form = (kExamples / "resize.fcf").string();
  TChildResult r = Tool({"run", form, "--frames", "3", "--preview", "Resize1.OutputPin"});
  EXPECT_EQ(r.status, 0) << r.err;
  r = Tool({"run", form, "--frames", "3", "--preview", "Resize1.NoSuchPin"});
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("NoSuchPin"), std::string::npos) << r.err;
  setenv("SDL_VIDEODRIVER", "no-such-video-driver", 1);
  r = Tool({"run", form, "--frames", "3", "--preview", "Resize1.OutputPin"});
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("--preview Resize1.OutputPin: no display"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace fc::test
