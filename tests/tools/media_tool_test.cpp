// Recording and compressing through the framecraft tool: the codec list,
// the recording example checked with ffprobe, the lossless round trip.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/media_probe.h"
#include "tests/tools/tool_dir_test.h"

namespace fc::test {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = FC_EXAMPLES_DIR;

std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class MediaTool : public TToolDirTest {};

TEST_F(MediaTool, CodecsListsTheCodesWithTheirEncodersAndDecoders) {
  const TChildResult r = Tool({"codecs"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("MJPG   mjpeg"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("FFV1   ffv1"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("WMV2   wmv2"), std::string::npos) << r.out;
  EXPECT_EQ(Tool({"codecs", "extra"}).status, 2);
}

TEST_F(MediaTool, TheRecordingExampleWritesAFilePlayersOpen) {
  const TChildResult r = Tool({"run", (kExamples / "record_jaehne.fcf").string(), "--frames", "12", "--set",
                               "Logger1.FileName=out.wmv"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Logger1: 12 frames, "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(" bytes written to out.wmv"), std::string::npos) << r.out;
  auto video = ProbeStream(dir_ / "out.wmv", "v:0");
  EXPECT_EQ(video["codec_name"], "wmv2");
  EXPECT_EQ(video["width"], "320");
  EXPECT_EQ(video["nb_read_frames"], "12");
  EXPECT_EQ(DecodeWithFFmpeg(dir_ / "out.wmv").size(), std::size_t{320} * 240 * 3 * 12);
}

TEST_F(MediaTool, AnUnwritableRecordingFailsTheRunWithTheMessage) {
  const TChildResult r = Tool({"run", (kExamples / "record_jaehne.fcf").string(), "--frames", "2", "--set",
                               "Logger1.FileName=missing/out.wmv"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Can't create file : missing/out.wmv ."), std::string::npos) << r.err;
}

TEST_F(MediaTool, TheFFV1RoundTripGivesBackTheFramesThatWentIn) {
  const TChildResult r = Tool({"run", (kExamples / "compress_round_trip.fcf").string(), "--frames", "3", "--dump",
                               "Noise1.OutputPin=in", "--dump", "Decompressor1.OutputPin=out"});
  ASSERT_EQ(r.status, 0) << r.err;
  for (const char* name : {"000000.png", "000001.png", "000002.png"}) {
    ASSERT_TRUE(fs::exists(dir_ / "out" / name)) << r.out;
    EXPECT_TRUE(FileBytes(dir_ / "in" / name) == FileBytes(dir_ / "out" / name)) << name;
  }
}

}  // namespace
}  // namespace fc::test
