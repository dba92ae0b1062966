// The file logger between test pins: recordings every player opens, with
// every frame even when stopped with frames queued, sound when there is
// any, the defined messages when the file cannot be made, and a new file
// when the frame size changes.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "media/Fcasflogger.h"
#include "platform/runtime/error.h"
#include "tests/support/component_harness.h"
#include "tests/support/media_probe.h"
#include "tests/media/player_recorder.h"

namespace fc {
namespace {

constexpr int kWidth = 64, kHeight = 48, kFrames = 12;

// Sends audio into the logger beside the harness's frames.
class TAudioFeed : public TComponent, public IPMPinDispatcher {
public:
  TAudioFeed() : TComponent(nullptr), output(this, *this) {}
  ~TAudioFeed() override { output.Retire(); }
  bool SinkDispatch(TPMSinkPin&, const TPMOperation&) override { return false; }
  bool SourceDispatch(TPMSourcePin&, const TPMOperation&) override { return false; }
  TTBAudioSourcePin output;
};

struct TLoggerRig {
  explicit TLoggerRig(const std::filesystem::path& file) : logger(nullptr) {
    logger.SetName("Logger1");
    logger.SetFileName(file.string());
    harness.Feed(*logger.GetInputPin());
  }
  void Record(int frames, int width = kWidth, int height = kHeight, TFCVideoFormat format = vfRGB24) {
    for (int i = 0; i < frames; ++i) harness.PushFrame(test::CountingFrame(width, height, format, i * 9));
  }
  TFCASFLogger logger;
  test::TComponentHarness harness;
};

TEST(ASFLogger, RecordsAWindowsMediaFileWithEveryFrameAndWithoutSoundWhenThereIsNone) {
  test::TMediaFolder folder;
  const auto file = folder / "out.wmv";
  TLoggerRig rig(file);
  int notified = 0;
  rig.logger.GetGraph()->SetOnNotify([&](TDSGraph&) { ++notified; });
  rig.harness.PushStart(kWidth, kHeight, 25);
  EXPECT_TRUE(rig.logger.IsRunning());
  EXPECT_EQ(notified, 1);
  EXPECT_EQ(rig.logger.GetGraph()->StageNames(), (std::vector<std::string>{"ASF Writer", "VideoSource"}));
  rig.Record(kFrames);
  rig.harness.PushStop();  // frames may still be queued: the stop finishes them
  EXPECT_FALSE(rig.logger.IsRunning());

  auto video = test::ProbeStream(file, "v:0");
  EXPECT_EQ(video["codec_name"], "wmv2");
  EXPECT_EQ(video["width"], "64");
  EXPECT_EQ(video["height"], "48");
  EXPECT_EQ(video["nb_read_frames"], std::to_string(kFrames));
  EXPECT_TRUE(test::ProbeStream(file, "a:0").empty());
  const auto times = test::PacketTimes(file, "v:0");
  ASSERT_EQ(times.size(), std::size_t{kFrames});
  EXPECT_NEAR(times.back() - times.front() + 0.04, kFrames / 25.0, 0.04);
  EXPECT_EQ(rig.logger.FramesWritten(), kFrames);
  EXPECT_EQ(rig.logger.BytesWritten(), static_cast<std::int64_t>(std::filesystem::file_size(file)));
}

TEST(ASFLogger, RecordsSoundFromTheAudioInput) {
  test::TMediaFolder folder;
  const auto file = folder / "sound.wmv";
  TLoggerRig rig(file);
  TAudioFeed audio;
  audio.output.Connect(*rig.logger.GetAudioInputPin());
  rig.harness.PushStart(kWidth, kHeight, 25);
  EXPECT_FALSE(rig.logger.IsRunning());  // waits for the sound's start
  const TTBWaveFormatExtensible wave = MakePcmWaveFormat(2, 44100, 16);
  audio.output.SendStartWave(wave, 400'000);
  EXPECT_TRUE(rig.logger.IsRunning());
  for (int i = 0; i < kFrames; ++i) {
    rig.harness.PushFrame(test::CountingFrame(kWidth, kHeight, vfRGB24, i));
    audio.output.SendAudio(std::make_shared<TTBAudioBuffer>(1764, 2, 16, 44100));
  }
  rig.harness.PushStop();
  EXPECT_EQ(test::ProbeStream(file, "a:0")["codec_name"], "wmav2");
  EXPECT_EQ(test::ProbeStream(file, "v:0")["nb_read_frames"], std::to_string(kFrames));
}

TEST(ASFLogger, AnUnwritableFolderGivesTheDefinedMessageAndNothingRuns) {
  test::TMediaFolder folder;
  const auto file = folder / "missing" / "out.wmv";
  TLoggerRig rig(file);
  std::vector<std::string> messages;
  rig.logger.GetGraph()->SetOnError([&](TDSGraph&, const std::string& message, std::uint32_t code, bool& handled) {
    messages.push_back(message);
    EXPECT_NE(code, 0u);
    handled = true;
  });
  rig.harness.PushStart(kWidth, kHeight, 25);
  ASSERT_EQ(messages, std::vector<std::string>{"Can't create file : " + file.string() + " ."});
  EXPECT_FALSE(rig.logger.IsRunning());
  EXPECT_TRUE(rig.logger.GetGraph()->StageNames().empty());
  rig.Record(2);
  rig.harness.PushStop();
  EXPECT_FALSE(std::filesystem::exists(folder / "missing"));

  rig.logger.GetGraph()->SetOnError({});  // unhandled, the error is raised
  EXPECT_THROW(rig.harness.PushStart(kWidth, kHeight, 25), EFCError);
}

TEST(ASFLogger, AProfileWithoutItsCodecCannotConfigureTheWriter) {
  test::TMediaFolder folder;
  TLoggerRig rig(folder / "out.wmv");
  rig.logger.GetProfile()->SetVideoCodec("QQQQ");
  std::vector<std::string> messages;
  rig.logger.GetGraph()->SetOnError([&](TDSGraph&, const std::string& message, std::uint32_t, bool& handled) {
    messages.push_back(message);
    handled = true;
  });
  rig.harness.PushStart(kWidth, kHeight, 25);
  EXPECT_EQ(messages, std::vector<std::string>{"Can't configure ASF writer."});
  EXPECT_FALSE(rig.logger.IsRunning());
}

TEST(ASFLogger, ASizeChangeFinishesTheFileAndStartsANumberedOne) {
  test::TMediaFolder folder;
  TLoggerRig rig(folder / "out.wmv");
  rig.harness.PushStart(kWidth, kHeight, 25);
  rig.Record(3);
  rig.Record(4, kWidth / 2, kHeight / 2);
  rig.harness.PushStop();
  const std::vector<std::string> files = {(folder / "out.wmv").string(), (folder / "out-2.wmv").string()};
  EXPECT_EQ(rig.logger.Files(), files);
  EXPECT_EQ(test::ProbeStream(files[0], "v:0")["nb_read_frames"], "3");
  EXPECT_EQ(test::ProbeStream(files[1], "v:0")["nb_read_frames"], "4");
  EXPECT_EQ(test::ProbeStream(files[1], "v:0")["width"], "32");
  EXPECT_EQ(rig.logger.FramesWritten(), 7);
}

TEST(ASFLogger, ALosslessProfileKeepsEveryPixelAndDestructionFinishesTheFile) {
  test::TMediaFolder folder;
  const auto file = folder / "lossless.avi";
  std::string expected;
  {
    TLoggerRig rig(file);
    rig.logger.GetProfile()->SetContainer("avi");
    rig.logger.GetProfile()->SetVideoCodec("FFV1");
    rig.harness.PushStart(kWidth, kHeight, 25);
    for (int i = 0; i < 3; ++i) {
      const auto frame = test::CountingFrame(kWidth, kHeight, vfRGB24, i * 9);
      expected.append(frame.Read(), frame.Read() + frame.Size());
    }
    rig.Record(3);
  }  // destroyed while recording
  EXPECT_TRUE(test::DecodeWithFFmpeg(file) == expected);
}

// Our own player reads our own recordings: a lossless recording comes back
// frame for frame, byte for byte.
TEST(ASFLogger, ALosslessRecordingPlaysBackThroughThePlayerByteForByte) {
  test::TMediaFolder folder;
  const auto file = folder / "readback.avi";
  std::string recorded;
  {
    TLoggerRig rig(file);
    rig.logger.GetProfile()->SetContainer("avi");
    rig.logger.GetProfile()->SetVideoCodec("FFV1");
    rig.harness.PushStart(kWidth, kHeight, 25);
    for (int i = 0; i < kFrames; ++i) {
      const auto frame = test::CountingFrame(kWidth, kHeight, vfRGB24, i * 9);
      recorded.append(frame.Read(), frame.Read() + frame.Size());
    }
    rig.Record(kFrames);
    rig.harness.PushStop();
  }

  test::TPlayerRecorder recorder;
  TFCASFPlayer player(nullptr);
  player.SetEnabled(false);
  player.SetFileName(file.string());
  recorder.Attach(player, true);
  player.SetEnabled(true);
  ASSERT_TRUE(player.GetEnabled());
  ASSERT_TRUE(recorder.PlayUntil(apsEndOfFile, true));
  std::string played;
  int frames = 0;
  for (const auto& operation : recorder.VideoOperations())
    if (auto frame = FrameOf(operation)) {
      ++frames;
      played.append(frame->Read(), frame->Read() + frame->Size());
    }
  EXPECT_EQ(frames, kFrames);
  EXPECT_TRUE(played == recorded);
}

TEST(ASFLogger, Yuy2StreamsAreRecordedAsYuy2) {
  test::TMediaFolder folder;
  const auto file = folder / "yuy2.wmv";
  TLoggerRig rig(file);
  rig.harness.PushStart(kWidth, kHeight, 25, vfYUY2);
  auto* source = rig.logger.GetGraph()->Find<TDSVideoSourceFilter>("VideoSource");
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(source->Format(), vfYUY2);
  rig.Record(2, kWidth, kHeight, vfYUY2);
  rig.harness.PushStop();
  EXPECT_EQ(test::ProbeStream(file, "v:0")["nb_read_frames"], "2");
}

}  // namespace
}  // namespace fc
