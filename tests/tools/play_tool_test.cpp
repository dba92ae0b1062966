// `framecraft play` on files made by the ffmpeg command.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

#include "tests/support/media_files.h"
#include "tests/tools/tool_dir_test.h"
#include "tools/framecraft/command_line.h"

namespace fc::test {
namespace {

namespace fs = std::filesystem;
using tool::EUsageError;
using tool::ParseCommandLine;
using tool::TCommand;
using tool::TCommandLine;

class PlayTool : public TToolDirTest {};

TEST_F(PlayTool, PlaysAFileIntoPngFramesAndPrintsStreamsAndStatuses) {
  const TChildResult result = Tool({"play", MediaFile("av.wmv"), "--dump", "frames"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("video: 64x48 at 25 fps"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("audio: 2 channel(s) at 44100 Hz"), std::string::npos);
  EXPECT_NE(result.out.find("tag: title = Test clip"), std::string::npos);
  EXPECT_NE(result.out.find("status: apsOpened\nstatus: apsStarted"), std::string::npos);
  EXPECT_NE(result.out.find("status: apsEndOfFile"), std::string::npos);
  EXPECT_NE(result.out.find("play: 12 frames, "), std::string::npos);
  int files = 0;
  for (const auto& entry : fs::directory_iterator(dir_ / "frames")) files += entry.path().extension() == ".png";
  EXPECT_EQ(files, 12);
}

TEST_F(PlayTool, StopsAfterTheFramesAskedFor) {
  const TChildResult result = Tool({"play", MediaFile("clip.mp4"), "--frames=5", "--dump", "frames"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("play: 5 frames"), std::string::npos) << result.out;
  int files = 0;
  for (const auto& entry : fs::directory_iterator(dir_ / "frames")) files += entry.path().extension() == ".png";
  EXPECT_EQ(files, 5) << "frames released past the limit are not dumped";
}

TEST_F(PlayTool, AFileThatCannotBeOpenedIsAnError) {
  const TChildResult result = Tool({"play", "missing.wmv"});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("Player: Failed to open missing.wmv - "), std::string::npos) << result.err;
}

TEST_F(PlayTool, APreviewShowsTheFileAtItsOwnPaceAndNeedsADisplay) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  TChildResult result = Tool({"play", MediaFile("av.wmv"), "--preview"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("play: 12 frames, "), std::string::npos) << result.out;
  // Twelve frames at 25 per second: the last one 11 frame durations after
  // the first, when the window's pace is the file's.
  std::smatch seconds;
  ASSERT_TRUE(std::regex_search(result.out, seconds, std::regex(" in ([0-9.]+) s"))) << result.out;
  EXPECT_GE(std::stod(seconds[1]), 11 * 0.04 * 0.9) << result.out;

  setenv("SDL_VIDEODRIVER", "no-such-video-driver", 1);
  result = Tool({"play", MediaFile("av.wmv"), "--preview"});
  unsetenv("SDL_VIDEODRIVER");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("--preview Player.OutputPin: no display"), std::string::npos) << result.err;
}

// The example form: a player into a resize and a grey scale, run by
// `framecraft run` with the file given on the command line.
class PlayerForm : public TToolDirTest {
protected:
  TChildResult Run(const std::string& file, std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"run", std::string(FC_EXAMPLES_DIR) + "/player_grayscale.fcf", "--set",
                                     "Player1.FileName=" + file, "--dump", "Gray1.OutputPin=frames"};
    args.insert(args.end(), more.begin(), more.end());
    return Tool(args);
  }
  int Pngs() const {
    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir_ / "frames")) files += entry.path().extension() == ".png";
    return files;
  }
  // Width, height and colour type from a PNG's header.
  std::array<int, 3> PngHeader(const std::string& name) const {
    std::ifstream in(dir_ / "frames" / name, std::ios::binary);
    unsigned char h[26] = {};
    in.read(reinterpret_cast<char*>(h), sizeof h);
    const auto be32 = [&](int at) { return (h[at] << 24) | (h[at + 1] << 16) | (h[at + 2] << 8) | h[at + 3]; };
    return {be32(16), be32(20), h[25]};
  }
};

TEST_F(PlayerForm, SavesResizedGreyFramesUpToTheCountAskedFor) {
  const TChildResult result = Run(MediaFile("av.wmv"), {"--frames", "5"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("Gray1.OutputPin: 5 frames written"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("5 frames in"), std::string::npos) << result.out;
  EXPECT_EQ(Pngs(), 5) << "frames released past the count are not saved";
  EXPECT_EQ(PngHeader("000004.png"), (std::array<int, 3>{160, 120, 0})) << "160x120, grey";
}

TEST_F(PlayerForm, EndsWithTheFileAndPlaysAtItsPaceInRealTime) {
  TChildResult result = Run(MediaFile("clip.mp4"), {"--frames", "1000"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("12 frames in"), std::string::npos) << result.out;
  EXPECT_EQ(Pngs(), 12);

  fs::remove_all(dir_ / "frames");
  result = Run(MediaFile("video.avi"), {"--frames", "1000", "--realtime"});
  ASSERT_EQ(result.status, 0) << result.err;
  std::smatch seconds;
  ASSERT_TRUE(std::regex_search(result.out, seconds, std::regex("10 frames in ([0-9.]+) s"))) << result.out;
  EXPECT_GE(std::stod(seconds[1]), 9 * 0.04 * 0.9) << "ten frames at 25 per second";
}

TEST_F(PlayerForm, APlayerThatStartedWhileTheFormLoadedPlaysFromTheStart) {
  // Enabled, so the file name given by --set starts it at once.
  std::ofstream(dir_ / "enabled.fcf") << "object F: TComponent\n"
                                         "  object Player1: TFCASFPlayer\n"
                                         "    OutputPin.SinkPins = (Gray1.InputPin)\n"
                                         "  end\n"
                                         "  object Gray1: TFCGrayScale\n"
                                         "  end\n"
                                         "end\n";
  const TChildResult result = Tool({"run", "enabled.fcf", "--set", "Player1.FileName=" + MediaFile("av.wmv"),
                                    "--dump", "Gray1.OutputPin=frames", "--frames", "100"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("12 frames in"), std::string::npos) << result.out;
  EXPECT_EQ(Pngs(), 12);
}

TEST_F(PlayerForm, AnOutputDevicePumpsThePlayerAtItsPace) {
  std::ofstream(dir_ / "device.fcf") << "object F: TComponent\n"
                                        "  object Player1: TFCASFPlayer\n"
                                        "    Enabled = False\n"
                                        "    OutputPin.SinkPins = (Out1.InputPin)\n"
                                        "  end\n"
                                        "  object Out1: TFCDSVideoOut\n"
                                        "    VideoOutputDevice.DeviceName = 'Null Output'\n"
                                        "  end\n"
                                        "end\n";
  const TChildResult result =
      Tool({"run", "device.fcf", "--set", "Player1.FileName=" + MediaFile("av.wmv"), "--frames", "100"});
  ASSERT_EQ(result.status, 0) << result.err;
  // Every pump of the device releases a frame, each pump a new one.
  std::smatch seconds;
  ASSERT_TRUE(std::regex_search(result.out, seconds, std::regex("12 frames in ([0-9.]+) s"))) << result.out;
  EXPECT_GE(std::stod(seconds[1]), 11 * 0.04 * 0.9) << "twelve frames at the device's 25 per second";
}

TEST_F(PlayerForm, FailuresNameThePlayer) {
  TChildResult result = Run("missing.wmv");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("Player1: Failed to open missing.wmv - "), std::string::npos) << result.err;

  result = Run("");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("Player1: FileName is empty"), std::string::npos) << result.err;

  // An audio-only file plays into nothing downstream and still ends.
  result = Run(MediaFile("audio.wma"), {"--frames", "1000"});
  EXPECT_EQ(result.status, 0) << result.err;
}

TEST(PlayCommandLine, ReadsItsOptionsAndRefusesOthers) {
  const TCommandLine line =
      ParseCommandLine(std::vector<std::string>{"play", "http://h/a.wmv", "--frames", "7", "--dump=out"});
  EXPECT_EQ(line.command, TCommand::Play);
  EXPECT_EQ(line.operand, "http://h/a.wmv");
  EXPECT_EQ(line.frames, 7);
  EXPECT_EQ(line.playDump, "out");
  EXPECT_FALSE(line.playPreview);
  EXPECT_TRUE(ParseCommandLine(std::vector<std::string>{"play", "a.wmv", "--preview"}).playPreview);
  EXPECT_EQ(ParseCommandLine(std::vector<std::string>{"play", "a.wmv"}).frames, 0) << "the whole source";
  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"play"}, {"play", "--frames", "3"}, {"play", "a", "--set", "A.B=1"}, {"play", "a", "--dump"},
           {"play", "a", "--preview=yes"}})
    EXPECT_THROW(ParseCommandLine(bad), EUsageError) << ::testing::PrintToString(bad);
}

}  // namespace
}  // namespace fc::test
