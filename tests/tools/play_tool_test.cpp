// `framecraft play` on files made by the ffmpeg command.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
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
