// The video output's DV chain: a generated clip written as a DV stream and
// read back with ffprobe and ffmpeg, the DV encoder's values, DV formats
// that cannot be written, and a named pipe whose reader goes away.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "media/Fcdsvideoout.h"
#include "platform/runtime/error.h"
#include "platform/runtime/form_loader.h"
#include "platform/runtime/form_saver.h"
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

  // `withSound` frames with their sound, the sound's stop, `after` more
  // frames and the stop, into a PAL DV file at `file`; `configure` sets the
  // output up first.
  void RecordWithSound(const fs::path& file, int withSound, int after,
                       const std::function<void(TFCDSVideoOut&)>& configure = {}) {
    auto rig = Rig(file);
    if (configure) configure(*rig->out);
    test::TAudioSource audio;
    audio.pin.Connect(*rig->out->GetAudioInputPin());
    audio.Start();
    ASSERT_TRUE(rig->harness.PushStart(64, 48, 25));
    for (int i = 0; i < withSound; ++i) {
      rig->PushFrames(1);
      audio.Block();
    }
    audio.pin.SendStop();
    rig->PushFrames(after);
    rig->harness.PushStop();
    EXPECT_EQ(rig->out->FramesRendered(), withSound + after);
    EXPECT_EQ(rig->out->ErrorCount(), 0) << rig->out->LastError();
  }

  // What ffprobe reads of a DV file: each stream's type, rate, shape and
  // frame count, and the time code.
  static std::string ProbeDV(const fs::path& file) {
    const auto [probed, info] = Command("ffprobe -v error -count_frames -show_entries "
                                        "stream=codec_type,sample_rate,display_aspect_ratio,nb_read_frames "
                                        "-show_entries format_tags=timecode -of default=nw=1 '" + file.string() + "'");
    EXPECT_TRUE(probed) << info;
    return info;
  }

  fs::path dir_;
};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

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

// Sound that ends while the pictures go on: the same file goes on, with
// silence, and holds every frame with its share of sound.
TEST_F(VideoOutDV, SoundEndingMidStreamLeavesAFileWithEveryFrame) {
  const fs::path file = dir_ / "ends.dv";
  RecordWithSound(file, 6, 7);
  const std::string info = ProbeDV(file);
  // The pictures and the sound, 13 DV frames each.
  EXPECT_TRUE(Has(info, "codec_type=video") && Has(info, "codec_type=audio")) << info;
  const auto first = info.find("nb_read_frames=13");
  EXPECT_TRUE(first != std::string::npos && info.find("nb_read_frames=13", first + 1) != std::string::npos) << info;
  const auto [decoded, log] = Command("ffmpeg -v error -i '" + file.string() + "' -f null -");
  EXPECT_TRUE(decoded) << log;
}

TEST_F(VideoOutDV, DigitalVideoSetsTheSoundModeShapeAndTimeCode) {
  const fs::path plain = dir_ / "plain.dv";
  RecordWithSound(plain, 4, 0);
  const std::string defaults = ProbeDV(plain);
  EXPECT_TRUE(Has(defaults, "sample_rate=48000")) << defaults;
  EXPECT_TRUE(Has(defaults, "display_aspect_ratio=4:3")) << defaults;
  EXPECT_TRUE(Has(defaults, "TAG:timecode=00:00:00:00")) << defaults;

  TFCDSVideoOut source(nullptr);
  SetPropertyText(source, "DigitalVideo.AudioMode", "dvam32kHz");
  SetPropertyText(source, "DigitalVideo.AspectRatio", "dvar16x9");
  SetPropertyText(source, "DigitalVideo.TimeCode", "01:02:03:04");
  const fs::path set = dir_ / "set.dv";
  RecordWithSound(set, 4, 0, [&](TFCDSVideoOut& out) {
    out.SetDigitalVideo(*source.GetDigitalVideo());  // copies: the source may change or go
    SetPropertyText(source, "DigitalVideo.TimeCode", "00:00:00:01");
    EXPECT_EQ(out.VC_DigitalVideo().GetTimeCode(), "01:02:03:04");
    EXPECT_EQ(out.VC_DigitalVideo().GetAudioMode(), dvam32kHz);
  });
  const std::string info = ProbeDV(set);
  EXPECT_TRUE(Has(info, "sample_rate=32000")) << info;
  EXPECT_TRUE(Has(info, "display_aspect_ratio=16:9")) << info;
  EXPECT_TRUE(Has(info, "TAG:timecode=01:02:03:04")) << info;
}

const TClassInfo* VideoOutClass(std::string_view name) {
  if (name == "TFCDSVideoOut") return &TFCDSVideoOut::StaticClassInfo();
  if (name == "TComponent") return &TComponent::StaticClassInfo();
  return nullptr;
}

TEST_F(VideoOutDV, DigitalVideoIsStoredInFormsAndRefusesWhatTheStreamCannotCarry) {
  TComponent root(nullptr);
  auto* out = new TFCDSVideoOut(&root);
  out->SetName("VideoOut1");
  SetPropertyText(*out, "DigitalVideo.AspectRatio", "dvar16x9");
  SetPropertyText(*out, "DigitalVideo.TimeCode", "10:20:30:29");
  const auto loaded = LoadForm(SaveForm(root, "out.fcf"), VideoOutClass);
  auto* again = dynamic_cast<TFCDSVideoOut*>(loaded->FindComponent("VideoOut1"));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->VC_DigitalVideo().GetAspectRatio(), dvar16x9);
  EXPECT_EQ(again->VC_DigitalVideo().GetAudioMode(), dvam48kHz);
  EXPECT_EQ(again->VC_DigitalVideo().GetTimeCode(), "10:20:30:29");

  for (const char* bad : {"24:00:00:00", "1:02:03:04", "00:00:60:00", "00-00-00-00", "00:00:00:30"})
    EXPECT_THROW(SetPropertyText(*out, "DigitalVideo.TimeCode", bad), EFCError) << bad;
  // Frame 29 exists at 30 frames a second, not in PAL.
  auto rig = Rig(dir_ / "refused.dv");
  rig->raiseErrors = true;
  SetPropertyText(*rig->out, "DigitalVideo.TimeCode", "00:00:00:29");
  try {
    rig->harness.PushStart(64, 48, 25);
    ADD_FAILURE() << "a PAL time code of frame 29 was not refused";
  } catch (const EFCError& error) {
    EXPECT_TRUE(Has(error.what(), "VideoOut1.Graph: DigitalVideo: time code")) << error.what();
  }
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
