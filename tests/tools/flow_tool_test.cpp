// The flow-control example forms through the framecraft tool, as fast as
// possible and in real time.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "tests/tools/tool_dir_test.h"

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

namespace fc::test {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = FC_EXAMPLES_DIR;

class FlowTool : public TToolDirTest {
protected:
  int FilesIn(const std::string& sub) const {
    return static_cast<int>(std::distance(fs::directory_iterator(dir_ / sub), fs::directory_iterator()));
  }
  // Red, green and blue of the first pixel of a written frame.
  std::vector<int> FirstPixel(const std::string& sub, const std::string& name) const {
    int width = 0, height = 0, channels = 0;
    stbi_uc* png = stbi_load((dir_ / sub / name).c_str(), &width, &height, &channels, 3);
    if (!png) return {};
    std::vector<int> rgb{png[0], png[1], png[2]};
    stbi_image_free(png);
    return rgb;
  }
  static double Seconds(const std::string& out) {
    std::smatch m;
    return std::regex_search(out, m, std::regex(" frames in ([0-9.]+) s")) ? std::stod(m[1]) : -1;
  }
};

TEST_F(FlowTool, ThePlaylistPlaysOneChannelAfterTheOtherWithAndWithoutRealTime) {
  for (bool realtime : {false, true}) {
    const std::string out = realtime ? "live" : "fast";
    std::vector<std::string> args{"run", (kExamples / "playlist.fcf").string(), "--frames", "15",
                                  "--dump", "Playlist1.OutputPin=" + out};
    if (realtime) args.push_back("--realtime");
    const TChildResult r = Tool(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(FilesIn(out), 30) << r.out;
    const std::vector<int> first = FirstPixel(out, "000014.png"), second = FirstPixel(out, "000015.png");
    ASSERT_EQ(first.size(), 3u);
    ASSERT_EQ(second.size(), 3u);
    EXPECT_TRUE(first[0] == first[1] && first[1] == first[2]);  // channel 0: the grey pattern
    EXPECT_EQ(second[0], 0);                                     // channel 1: tinted, no red
    // 15 frames at 30 per second take at least 14 frame periods in real time.
    if (realtime) {
      EXPECT_GE(Seconds(r.out), 14.0 / 30) << r.out;
    }
  }
}

TEST_F(FlowTool, TheRateChangeExampleSendsFiveFramesForEveryTwo) {
  const TChildResult r = Tool({"run", (kExamples / "change_rate.fcf").string(), "--frames", "20", "--dump",
                               "Rate1.OutputPin=out"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(FilesIn("out"), 50) << r.out;
}

}  // namespace
}  // namespace fc::test
