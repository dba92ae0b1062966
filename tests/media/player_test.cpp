// The player end to end on files made by the ffmpeg command: what goes out
// on its pins and in what order, statuses, pacing, failures and stops.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "media/Fcasfplayer.h"
#include "platform/runtime/error.h"
#include "tests/media/player_recorder.h"
#include "tests/support/http_test_server.h"
#include "tests/support/media_files.h"

namespace fc {
namespace {

using namespace std::chrono_literals;
using test::MediaFile;
using test::TPlayerRecorder;

// Every byte the buffers of `operations` carry, in order.
std::vector<std::uint8_t> VideoBytes(const std::vector<TPMOperation>& operations) {
  std::vector<std::uint8_t> bytes;
  for (const auto& operation : operations)
    if (auto frame = FrameOf(operation)) bytes.insert(bytes.end(), frame->Read(), frame->Read() + frame->Size());
  return bytes;
}
std::vector<std::uint8_t> AudioBytes(const std::vector<TPMOperation>& operations) {
  std::vector<std::uint8_t> bytes;
  for (const auto& operation : operations)
    if (auto block = AudioOf(operation)) bytes.insert(bytes.end(), block->Bytes().begin(), block->Bytes().end());
  return bytes;
}

// A disabled player of `file`, so nothing starts before the test connects it.
void Prepare(TFCASFPlayer& player, const std::string& file) {
  player.SetEnabled(false);
  player.SetFileName(file);
}

TEST(Player, PlaysVideoAndAudioThenStopsThenReportsTheEnd) {
  TPlayerRecorder recorder;
  TFCASFPlayer player(nullptr);
  const std::string path = MediaFile("av.wmv");
  Prepare(player, path);
  recorder.Attach(player, true);
  player.SetEnabled(true);
  ASSERT_TRUE(player.GetEnabled());
  EXPECT_EQ(player.ClockStep(), 400'000);
  ASSERT_TRUE(recorder.PlayUntil(apsEndOfFile, true));

  const auto video = recorder.VideoOperations();
  const std::vector<std::string> videoOutline = {"start-pump", "start-frame", "buffers", "stop"};
  EXPECT_EQ(TPlayerRecorder::Outline(video), videoOutline) << "every frame went out before the end";
  const auto* start = video[1]->As<TPMStartFrameOperation>();
  EXPECT_EQ(start->Width(), 64);
  EXPECT_EQ(start->Height(), 48);
  EXPECT_DOUBLE_EQ(start->Rate(), 25.0);
  EXPECT_EQ(VideoBytes(video), test::FFmpegVideoBytes(path));
  EXPECT_EQ(FrameOf(video[3])->TimeStamps().end - FrameOf(video[3])->TimeStamps().begin, 400'000);

  const auto audio = recorder.AudioOperations();
  const auto* wave = audio[1]->As<TTBStartWaveOperation>();
  ASSERT_NE(wave, nullptr);
  EXPECT_EQ(wave->Format(), MakePcmWaveFormat(2, 44100, 16));
  EXPECT_EQ(wave->Format().formatTag, 0xFFFE);
  EXPECT_EQ(AudioBytes(audio), test::FFmpegAudioBytes(path));
  // The third block after the start is followed by one start-pump.
  ASSERT_GT(audio.size(), 6u);
  EXPECT_TRUE(audio[2]->Is<TPMSuppliedBufferOperation>() && audio[4]->Is<TPMSuppliedBufferOperation>());
  EXPECT_TRUE(audio[5]->Is<TPMStartPumpOperation>());
  int pumps = 0;
  for (const auto& operation : audio) pumps += operation->Is<TPMStartPumpOperation>();
  EXPECT_EQ(pumps, 2);
  EXPECT_TRUE(audio.back()->Is<TPMStopOperation>());
  EXPECT_TRUE(AudioOf(audio[2])->TimeStamps().available);

  EXPECT_TRUE(recorder.HasStatus(apsOpened));
  EXPECT_TRUE(recorder.HasStatus(apsStarted));
  EXPECT_TRUE(recorder.HasStatus(apsNewMetaData));
  EXPECT_EQ(player.MetaDataValue("title"), "Test clip");
}

TEST(Player, AudioOnlySendsOnlyTheWaveFormatAndStepsBy1024Samples) {
  TPlayerRecorder recorder;
  TFCASFPlayer player(nullptr);
  Prepare(player, MediaFile("audio.wma"));
  recorder.Attach(player, true);
  player.SetEnabled(true);
  ASSERT_TRUE(player.IsPlaying());
  EXPECT_FALSE(player.HasVideo());
  EXPECT_EQ(player.ClockStep(), 231'424);  // 10,000,000 / 44,100 = 226, times 1024
  ASSERT_TRUE(recorder.PlayUntil(apsEndOfFile, true));
  const std::vector<std::string> videoOutline = {"start-pump"};
  EXPECT_EQ(TPlayerRecorder::Outline(recorder.VideoOperations()), videoOutline) << "no 0 x 0 video format";
  const auto audio = recorder.AudioOperations();
  EXPECT_EQ(audio[1]->As<TTBStartWaveOperation>()->Format(), MakePcmWaveFormat(1, 44100, 16));
  EXPECT_EQ(AudioBytes(audio), test::FFmpegAudioBytes(MediaFile("audio.wma")));
}

TEST(Player, VideoWithoutAudioIsDeliveredToTheLastFrame) {
  TPlayerRecorder recorder;
  TFCASFPlayer player(nullptr);
  const std::string path = MediaFile("video.avi");
  Prepare(player, path);
  recorder.Attach(player, false);  // free running, in real time
  player.SetEnabled(true);
  ASSERT_TRUE(recorder.PlayUntil(apsEndOfFile, false));
  EXPECT_EQ(VideoBytes(recorder.VideoOperations()), test::FFmpegVideoBytes(path));
  EXPECT_TRUE(recorder.AudioOperations().empty());
}

TEST(Player, AStreamWithoutDecoderIsReportedAndTheOtherPlays) {
  TPlayerRecorder recorder;
  TFCASFPlayer player(nullptr);
  Prepare(player, MediaFile("nocodec.mkv"));
  recorder.Attach(player, true);
  player.SetEnabled(true);
  ASSERT_TRUE(recorder.PlayUntil(apsEndOfFile, true));
  EXPECT_TRUE(recorder.HasStatus(apsMissingCodec));
  EXPECT_FALSE(player.HasVideo());
  EXPECT_FALSE(AudioBytes(recorder.AudioOperations()).empty());
}

TEST(Player, EnabledWithoutAFileNameStaysFalse) {
  TFCASFPlayer player(nullptr);
  player.SetEnabled(false);
  player.SetEnabled(true);
  EXPECT_FALSE(player.GetEnabled());
  EXPECT_FALSE(player.GetEnablePin()->Value());
}

TEST(Player, AnUnreachableUrlIsAFailureToOpenIt) {
  TFCASFPlayer player(nullptr);
  player.SetName("Player1");
  player.SetEnabled(false);
  const std::string url = "http://127.0.0.1:" + std::to_string(test::UnusedPort()) + "/clip.wmv";
  player.SetFileName(url);
  std::string message;
  std::uint32_t code = 0;
  player.SetOnError([&](TComponent&, const std::string& text, std::uint32_t value, bool& handled) {
    message = text;
    code = value;
    handled = true;
  });
  EXPECT_FALSE(player.Start());
  EXPECT_EQ(message, "Failed to open " + url);
  EXPECT_EQ(code, static_cast<std::uint32_t>(-ECONNREFUSED));

  player.SetOnError(nullptr);  // unhandled: raised, with the code in decimal and hex
  try {
    player.SetEnabled(true);
    FAIL() << "no error raised";
  } catch (const EFCError& error) {
    EXPECT_NE(std::string(error.what()).find("Player1: Failed to open " + url + " - 4294967185 - ffffff91"),
              std::string::npos)
        << error.what();
  }
  EXPECT_FALSE(player.GetEnabled());
}

TEST(Player, AnOpenThatTakesLongerThanTheTimeoutLeavesItClosed) {
  test::THttpTestServer server(test::THttpTestServer::TMode::Silent);
  TPlayerRecorder recorder;
  TFCASFPlayer player(nullptr);
  Prepare(player, server.Url());
  recorder.Attach(player, false);
  player.SetTimeout(300);
  const auto begin = std::chrono::steady_clock::now();
  EXPECT_FALSE(player.Start());  // no error raised
  EXPECT_GE(std::chrono::steady_clock::now() - begin, 300ms);
  EXPECT_FALSE(player.IsOpened());
  EXPECT_TRUE(recorder.VideoOperations().empty());
  EXPECT_TRUE(recorder.AudioOperations().empty());
}

TEST(Player, CredentialsOpenASourceThatAsksForThem) {
  const std::string path = MediaFile("video.avi");
  test::THttpTestServer server(test::THttpTestServer::TMode::Serve, test::FileContents(path), "viewer",
                               "pass word");
  TPlayerRecorder recorder;
  TFCASFPlayer player(nullptr);
  player.GetCredentials()->SetUserName("viewer");
  player.GetCredentials()->SetPassword("pass word");
  Prepare(player, server.Url());
  recorder.Attach(player, true);
  ASSERT_TRUE(player.Start());
  ASSERT_TRUE(recorder.PlayUntil(apsEndOfFile, true));
  EXPECT_EQ(VideoBytes(recorder.VideoOperations()), test::FFmpegVideoBytes(path));
}

TEST(PlayerCredentials, AreCopiedTerminatedAndRefusedWhenTooLong) {
  char buffer[6];
  EXPECT_TRUE(CopyCredential("12345", buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "12345");
  EXPECT_FALSE(CopyCredential("123456", buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "");
  EXPECT_FALSE(CopyCredential("", buffer, 0));
}

TEST(Player, PausingSendsPauseAndResumeAndHoldsDelivery) {
  TPlayerRecorder recorder;
  TFCASFPlayer player(nullptr);
  Prepare(player, MediaFile("av.wmv"));
  recorder.Attach(player, true);
  player.SetEnabled(true);  // pauses go out only while enabled
  ASSERT_TRUE(player.IsPlaying());
  player.SetPaused(true);
  EXPECT_TRUE(player.GetPausePin()->Value());
  const std::size_t held = recorder.VideoOperations().size();
  for (int i = 0; i < 5; ++i) recorder.clock.Tick();
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(recorder.VideoOperations().size(), held);
  player.SetPaused(false);
  ASSERT_TRUE(recorder.PlayUntil(apsEndOfFile, true));
  const auto outline = TPlayerRecorder::Outline(recorder.VideoOperations());
  EXPECT_NE(std::find(outline.begin(), outline.end(), "pause"), outline.end());
  EXPECT_NE(std::find(outline.begin(), outline.end(), "resume"), outline.end());
}

}  // namespace
}  // namespace fc
