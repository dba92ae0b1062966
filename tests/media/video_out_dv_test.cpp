// The video output's DV chain: a generated clip written as a DV stream and
// read back with ffprobe and ffmpeg, the DV encoder's values, DV formats
// that cannot be written, and a named pipe whose reader goes away.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "media/Fcdsvideoout.h"
#include "platform/runtime/error.h"
#include "tests/media/video_out_support.h"

namespace fc {
namespace {

namespace fs = std::filesystem;
using test::Eventually;
using test::TVideoOutRig;

// What a shell command printed (stdout and stderr) and whether it succeeded.
std::pair<bool, std::string> Command(const std::string& command) {
  std::string out;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return {false, out};
  std::array<char, 256> chunk{};
  while (std::fgets(chunk.data(), chunk.size(), pipe)) out += chunk.data();
  return {pclose(pipe) == 0, out};
}

class VideoOutDV : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("fc_video_out_dv_" + std::to_string(getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // A DV output (no master pumping: the test pushes) into `target`.
  std::unique_ptr<TVideoOutRig> Rig(const fs::path& target) {
    auto rig = std::make_unique<TVideoOutRig>("DV Stream");
    rig->out->GetVideoOutputDevice()->SetTarget(target.string());
    return rig;
  }

  fs::path dir_;
};

TEST_F(VideoOutDV, AClipBecomesAPALDVStreamThatFFmpegReadsAndDecodes) {
  const fs::path file = dir_ / "out.dv";
  auto rig = Rig(file);
  SetPropertyText(*rig->out, "DVFormat.UseCurrent", "False");
  SetPropertyText(*rig->out, "DVFormat.Format", "dvfPAL");
  ASSERT_TRUE(rig->harness.PushStart(64, 48, 25));
  // The encoder was given PAL, DVSD, full resolution.
  const auto settings = rig->out->DVEncoderSettings();
  ASSERT_TRUE(settings);
  EXPECT_EQ(settings->videoFormat, 2001);
  EXPECT_EQ(settings->encoding, 2007);
  EXPECT_EQ(settings->resolution, 2012);
  for (const char* stage : {"Color Converter", "DV Encoder", "DV Mux"}) EXPECT_NE(rig->out->GraphStages().end(),
      std::find(rig->out->GraphStages().begin(), rig->out->GraphStages().end(), stage)) << stage;
  rig->PushFrames(12);
  rig->harness.PushStop();
  EXPECT_EQ(rig->out->FramesRendered(), 12);

  const auto [probed, info] = Command("ffprobe -v error -count_frames -show_entries "
                                      "stream=codec_name,width,height,r_frame_rate,pix_fmt,nb_read_frames "
                                      "-show_entries format=format_name -of default=nw=1 '" + file.string() + "'");
  ASSERT_TRUE(probed) << info;
  EXPECT_NE(info.find("format_name=dv"), std::string::npos) << info;
  EXPECT_NE(info.find("codec_name=dvvideo"), std::string::npos) << info;
  EXPECT_NE(info.find("width=720"), std::string::npos) << info;
  EXPECT_NE(info.find("height=576"), std::string::npos) << info;
  EXPECT_NE(info.find("r_frame_rate=25/1"), std::string::npos) << info;
  EXPECT_NE(info.find("pix_fmt=yuv420p"), std::string::npos) << info;  // PAL DVSD, not 4:2:2 DV50
  EXPECT_NE(info.find("nb_read_frames=12"), std::string::npos) << info;
  const auto [decoded, log] = Command("ffmpeg -v error -i '" + file.string() + "' -f null -");
  EXPECT_TRUE(decoded) << log;
}

// Mono sound at 44.1 kHz goes into the DV stream as 48 kHz 16-bit stereo.
TEST_F(VideoOutDV, TheDefaultSoundDeviceMixesTheSoundIntoTheStream) {
  const fs::path file = dir_ / "sound.dv";
  auto rig = Rig(file);
  test::TAudioSource audio;
  audio.pin.Connect(*rig->out->GetAudioInputPin());
  audio.pin.SendStartWave(MakePcmWaveFormat(1, 44100, 16), 400000);
  ASSERT_TRUE(rig->harness.PushStart(64, 48, 25));
  EXPECT_NE(std::find(rig->out->GraphStages().begin(), rig->out->GraphStages().end(), "ACM Wrapper"),
            rig->out->GraphStages().end());
  for (int i = 0; i < 10; ++i) {
    rig->PushFrames(1);
    audio.pin.SendAudio(std::make_shared<const TTBAudioBuffer>(1764, 1, 16, 44100));
  }
  rig->harness.PushStop();  // the video ends first: the file is finished with its sound
  audio.pin.SendStop();
  const auto [probed, info] = Command("ffprobe -v error -select_streams a -show_entries "
                                      "stream=codec_name,sample_rate,channels -of default=nw=1 '" + file.string() + "'");
  ASSERT_TRUE(probed) << info;
  EXPECT_NE(info.find("codec_name=pcm_s16le"), std::string::npos) << info;
  EXPECT_NE(info.find("sample_rate=48000"), std::string::npos) << info;
  EXPECT_NE(info.find("channels=2"), std::string::npos) << info;
}

TEST_F(VideoOutDV, TheEncoderKeepsItsOwnFormatWithUseCurrent) {
  for (const auto& [rate, pal] : {std::pair{25.0, true}, std::pair{30000.0 / 1001, false}}) {
    auto rig = Rig(dir_ / "own.dv");
    SetPropertyText(*rig->out, "DVFormat.Format", "dvfPAL");  // not sent: UseCurrent is true
    rig->harness.PushStart(64, 48, rate);
    const auto settings = rig->out->DVEncoderSettings();
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->IsPAL(), pal) << rate;
    rig->harness.PushStop();
  }
}

TEST_F(VideoOutDV, FormatsTheDVStreamCannotCarryAreRefusedByName) {
  for (const char* setting : {"DVFormat.Encoding=dveDVHD", "DVFormat.Encoding=dveDVSL", "DVFormat.Resolution=dvr360"}) {
    auto rig = Rig(dir_ / "refused.dv");
    rig->raiseErrors = true;
    SetPropertyText(*rig->out, "DVFormat.UseCurrent", "False");
    const std::string text(setting);
    SetPropertyText(*rig->out, text.substr(0, text.find('=')), text.substr(text.find('=') + 1));
    try {
      rig->harness.PushStart(64, 48, 25);
      ADD_FAILURE() << setting << " was not refused";
    } catch (const EFCError& error) {
      EXPECT_NE(std::string(error.what()).find("VideoOut1.Graph: DVFormat: "), std::string::npos) << error.what();
    }
    EXPECT_FALSE(rig->out->IsOpen());
  }
}

TEST_F(VideoOutDV, AMissingTargetOrDeviceIsReportedThroughTheGraph) {
  auto rig = Rig("");
  std::string reported;
  rig->out->GetGraph()->SetOnError([&](TDSGraph&, const std::string& message, std::uint32_t, bool& handled) {
    reported = message;
    handled = true;
  });
  rig->harness.PushStart(64, 48, 25);
  EXPECT_EQ(reported, "Can't add video render filter.");
  rig->out->GetVideoOutputDevice()->SetDeviceName("Nothing By That Name");
  EXPECT_EQ(reported, "Can't open the DV Device.");
}

// The reader of the pipe reads a little and goes away: the device is lost,
// the output stops, and the process lives on (no SIGPIPE).
TEST_F(VideoOutDV, APipeWhoseReaderGoesAwayLosesTheDevice) {
  const fs::path fifo = dir_ / "deck";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::thread reader([&] {
    const int fd = ::open(fifo.c_str(), O_RDONLY);
    std::array<char, 4096> chunk{};
    for (std::size_t got = 0; fd >= 0 && got < 200000;) {
      const ssize_t n = ::read(fd, chunk.data(), chunk.size());
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    if (fd >= 0) ::close(fd);
  });
  auto rig = Rig(fifo);
  ASSERT_TRUE(rig->harness.PushStart(64, 48, 25));
  ASSERT_TRUE(rig->out->IsRunning());
  for (int i = 0; i < 200 && rig->out->IsRunning(); ++i) {
    rig->PushFrames(1);
    TWCMainThreadNotifier::ProcessMessages();
  }
  EXPECT_TRUE(Eventually([&] { return !rig->out->IsRunning(); }));
  rig->harness.PushStop();
  reader.join();
  EXPECT_FALSE(rig->out->IsOpen());
}

}  // namespace
}  // namespace fc
