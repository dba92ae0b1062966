// The media reader against what the ffmpeg command decodes from the same
// files: bytes, time stamps, statuses, pacing, stop and restart, network
// failures, timeouts and credentials, live udp and https sources and their
// buffering. Threads meet here: run under
// ThreadSanitizer too (ctest label "threading").
#include <gtest/gtest.h>

extern "C" {
#include <libavutil/error.h>
}

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/media/reader.h"
#include "platform/media/reader_preroll.h"
#include "tests/platform/media/reader_recorder.h"
#include "tests/support/http_test_server.h"
#include "tests/support/media_files.h"
#include "tests/support/media_probe.h"
#include "tests/support/stream_test_sources.h"

namespace fc::media {
namespace {

using namespace std::chrono_literals;
using test::MediaFile;
using test::TReaderRecorder;

constexpr std::int64_t kFrame25 = 400'000;  // 100-ns units
constexpr std::int64_t kEverything = std::int64_t{1} << 60;

std::unique_ptr<TReader> OpenedReader(const std::string& url, TReaderRecorder& recorder,
                                      std::chrono::milliseconds timeout = 10s) {
  std::unique_ptr<TReader> reader;
  EXPECT_EQ(TReader::Create(reader), 0);
  EXPECT_EQ(reader->Open(url, recorder, timeout), 0);
  EXPECT_TRUE(recorder.WaitFor(rsOpened)) << url;
  return reader;
}

// The output delivering `subtype`, or -1.
int OutputOf(const TReader& reader, TSubtype subtype) {
  int count = 0;
  reader.GetOutputCount(count);
  for (int i = 0; i < count; ++i) {
    TOutputProps props;
    if (reader.GetOutputProps(i, props) == 0 && props.subtype == subtype) return i;
  }
  return -1;
}

// Plays everything as fast as it decodes and waits for the end.
void PlayToTheEnd(TReader& reader, TReaderRecorder& recorder) {
  reader.SetUserProvidedClock(true);
  ASSERT_EQ(reader.Start(0, 0, 1.0), 0);
  reader.DeliverTime(kEverything);
  ASSERT_TRUE(recorder.WaitFor(rsEndOfFile));
}

TEST(Reader, VideoAndAudioAreTheBytesFFmpegDecodes) {
  TReaderRecorder recorder;
  const std::string path = MediaFile("av.wmv");
  auto reader = OpenedReader(path, recorder);
  const int video = OutputOf(*reader, TSubtype::RGB24), audio = OutputOf(*reader, TSubtype::PCM);
  ASSERT_GE(video, 0);
  ASSERT_GE(audio, 0);
  TOutputProps props;
  reader->GetOutputProps(video, props);
  EXPECT_EQ(props.width, 64);
  EXPECT_EQ(props.height, 48);
  EXPECT_EQ(props.averageTimePerFrame, kFrame25);
  EXPECT_EQ(props.formatType, TFormatType::VideoInfo);
  reader->GetOutputProps(audio, props);
  EXPECT_EQ(props.channels, 2);
  EXPECT_EQ(props.samplesPerSecond, 44100u);
  EXPECT_EQ(props.bitsPerSample, 16);
  EXPECT_EQ(props.blockAlign, 4);

  PlayToTheEnd(*reader, recorder);
  EXPECT_EQ(recorder.Bytes(video), test::FFmpegVideoBytes(path));
  EXPECT_EQ(recorder.Bytes(audio), test::FFmpegAudioBytes(path));
  const auto frames = recorder.Samples(video);
  ASSERT_EQ(frames.size(), 12u);
  for (std::size_t i = 1; i < frames.size(); ++i) {
    EXPECT_NEAR(frames[i].time - frames[i - 1].time, kFrame25, 10'000) << "frame " << i;  // ASF stamps in ms
    EXPECT_EQ(frames[i].duration, kFrame25);
  }
  EXPECT_EQ(reader->Close(), 0);
  const auto statuses = recorder.Statuses();
  const std::vector<TReaderStatus> expected = {rsNewMetaData, rsOpened, rsStarted, rsEndOfStreaming, rsEndOfFile,
                                               rsClosed};
  EXPECT_EQ(statuses, expected);
}

TEST(Reader, ReadsTheSourcesTags) {
  TReaderRecorder recorder;
  auto reader = OpenedReader(MediaFile("av.wmv"), recorder);
  bool titled = false;
  for (const auto& [key, value] : reader->MetaData()) titled |= key == "title" && value == "Test clip";
  EXPECT_TRUE(titled);
}

TEST(Reader, MjpegInAviWithoutAudio) {
  TReaderRecorder recorder;
  const std::string path = MediaFile("video.avi");
  auto reader = OpenedReader(path, recorder);
  EXPECT_EQ(OutputOf(*reader, TSubtype::PCM), -1);
  const int video = OutputOf(*reader, TSubtype::RGB24);
  PlayToTheEnd(*reader, recorder);
  EXPECT_EQ(recorder.Samples(video).size(), 10u);
  EXPECT_EQ(recorder.Bytes(video), test::FFmpegVideoBytes(path));
}

TEST(Reader, AStreamWithoutDecoderIsListedButNotDelivered) {
  TReaderRecorder recorder;
  auto reader = OpenedReader(MediaFile("nocodec.mkv"), recorder);
  EXPECT_TRUE(recorder.WaitFor(rsMissingCodec));
  EXPECT_EQ(OutputOf(*reader, TSubtype::RGB24), -1);
  TOutputProps props;
  ASSERT_EQ(reader->GetOutputProps(0, props), 0);
  EXPECT_EQ(props.majorType, TMajorType::Video);
  EXPECT_EQ(props.subtype, TSubtype::Other);
  const int audio = OutputOf(*reader, TSubtype::PCM);
  ASSERT_GE(audio, 0);
  PlayToTheEnd(*reader, recorder);
  EXPECT_FALSE(recorder.Bytes(audio).empty());
}

TEST(Reader, AUserClockDeliversOnlyUpToTheTimeGiven) {
  TReaderRecorder recorder;
  auto reader = OpenedReader(MediaFile("video.avi"), recorder);
  const int video = OutputOf(*reader, TSubtype::RGB24);
  reader->SetUserProvidedClock(true);
  ASSERT_EQ(reader->Start(0, 0, 1.0), 0);
  ASSERT_TRUE(recorder.WaitFor(rsStarted));
  std::this_thread::sleep_for(50ms);
  EXPECT_TRUE(recorder.Samples(video).empty()) << "nothing before the first DeliverTime";
  reader->DeliverTime(3 * kFrame25);
  ASSERT_TRUE(recorder.WaitForSamples(video, 4));
  std::this_thread::sleep_for(100ms);
  const auto frames = recorder.Samples(video);
  ASSERT_EQ(frames.size(), 4u) << "frames at 0, 1, 2 and 3 periods";
  EXPECT_EQ(frames.back().time, 3 * kFrame25);
}

TEST(Reader, FreeRunningDeliversInRealTime) {
  TReaderRecorder recorder;
  auto reader = OpenedReader(MediaFile("video.avi"), recorder);
  const auto begin = std::chrono::steady_clock::now();
  ASSERT_EQ(reader->Start(0, 0, 1.0), 0);
  ASSERT_TRUE(recorder.WaitFor(rsEndOfFile));
  // Ten frames at 25 per second: the last is due 360 ms after the first.
  EXPECT_GE(std::chrono::steady_clock::now() - begin, 340ms);
}

TEST(Reader, StopEndsAWaitingReaderAndAStartPlaysFromTheBeginning) {
  TReaderRecorder recorder;
  auto reader = OpenedReader(MediaFile("video.avi"), recorder);
  const int video = OutputOf(*reader, TSubtype::RGB24);
  reader->SetUserProvidedClock(true);
  ASSERT_EQ(reader->Start(0, 0, 1.0), 0);
  reader->DeliverTime(kFrame25);
  ASSERT_TRUE(recorder.WaitForSamples(video, 2));
  ASSERT_EQ(reader->Stop(), 0);  // the reader thread waits for the clock
  EXPECT_TRUE(recorder.WaitFor(rsStopped, 0ms)) << "reported before Stop returns";

  recorder.Forget();
  ASSERT_EQ(reader->Start(0, 0, 1.0), 0);
  reader->DeliverTime(0);
  ASSERT_TRUE(recorder.WaitForSamples(video, 1));
  EXPECT_EQ(recorder.Samples(video).front().time, 0);
  EXPECT_EQ(reader->Close(), 0);
}

TEST(Reader, RefusesAnEmptyNameAndASecondOpen) {
  TReaderRecorder recorder;
  std::unique_ptr<TReader> reader;
  ASSERT_EQ(TReader::Create(reader), 0);
  EXPECT_LT(reader->Open("", recorder, 1s), 0);
  EXPECT_LT(reader->Start(0, 0, 1.0), 0) << "not open";
  ASSERT_EQ(reader->Open(MediaFile("video.avi"), recorder, 10s), 0);
  EXPECT_LT(reader->Open(MediaFile("video.avi"), recorder, 10s), 0);
}

TEST(ReaderNetwork, AnUnreachableUrlReportsAnError) {
  TReaderRecorder recorder;
  std::unique_ptr<TReader> reader;
  ASSERT_EQ(TReader::Create(reader), 0);
  const std::string url = "http://127.0.0.1:" + std::to_string(test::UnusedPort()) + "/clip.avi";
  ASSERT_EQ(reader->Open(url, recorder, 10s), 0);
  ASSERT_TRUE(recorder.WaitFor(rsError));
  EXPECT_EQ(recorder.Statuses().front(), rsConnecting);
  EXPECT_EQ(recorder.LastError(), -ECONNREFUSED);
}

TEST(ReaderNetwork, AServerThatNeverAnswersTimesOut) {
  test::THttpTestServer server(test::THttpTestServer::TMode::Silent);
  TReaderRecorder recorder;
  std::unique_ptr<TReader> reader;
  ASSERT_EQ(TReader::Create(reader), 0);
  const auto begin = std::chrono::steady_clock::now();
  ASSERT_EQ(reader->Open(server.Url(), recorder, 300ms), 0);
  ASSERT_TRUE(recorder.WaitFor(rsError));
  EXPECT_EQ(recorder.LastError(), kReaderTimedOut);
  EXPECT_GE(std::chrono::steady_clock::now() - begin, 300ms);
}

TEST(ReaderNetwork, CloseAbandonsAnOpenInProgress) {
  test::THttpTestServer server(test::THttpTestServer::TMode::Silent);
  TReaderRecorder recorder;
  std::unique_ptr<TReader> reader;
  ASSERT_EQ(TReader::Create(reader), 0);
  ASSERT_EQ(reader->Open(server.Url(), recorder, 0ms), 0);  // no time limit
  ASSERT_TRUE(recorder.WaitFor(rsConnecting));
  EXPECT_EQ(reader->Close(), 0);
  const std::vector<TReaderStatus> onlyConnecting = {rsConnecting};
  EXPECT_EQ(recorder.Statuses(), onlyConnecting) << "an abandoned open reports nothing more";
}

TEST(ReaderNetwork, CredentialsAnswerAServerThatAsksForThem) {
  const std::string path = MediaFile("video.avi");
  test::THttpTestServer server(test::THttpTestServer::TMode::Serve, test::FileContents(path), "viewer", "s3cret:/@");
  TReaderRecorder recorder;
  recorder.GiveCredentials("viewer", "s3cret:/@");
  auto reader = OpenedReader(server.Url(), recorder);
  EXPECT_GE(server.Refusals(), 1);
  const int video = OutputOf(*reader, TSubtype::RGB24);
  PlayToTheEnd(*reader, recorder);
  EXPECT_EQ(recorder.Bytes(video), test::FFmpegVideoBytes(path));
}

TEST(ReaderNetwork, WithoutCredentialsTheServersRefusalIsTheError) {
  test::THttpTestServer server(test::THttpTestServer::TMode::Serve, "x", "viewer", "secret");
  TReaderRecorder recorder;
  std::unique_ptr<TReader> reader;
  ASSERT_EQ(TReader::Create(reader), 0);
  ASSERT_EQ(reader->Open(server.Url(), recorder, 10s), 0);
  ASSERT_TRUE(recorder.WaitFor(rsError));
  EXPECT_EQ(recorder.LastError(), AVERROR_HTTP_UNAUTHORIZED);
}


// ---- Live network sources and their buffering ----

// Opens `url` once its server listens: a connection refused while the
// server starts up is tried again, for up to ten seconds.
std::unique_ptr<TReader> OpenedOnceListening(const std::string& url, TReaderRecorder& recorder) {
  const auto giveUp = std::chrono::steady_clock::now() + 10s;
  for (;;) {
    recorder.Forget();
    std::unique_ptr<TReader> reader;
    EXPECT_EQ(TReader::Create(reader), 0);
    EXPECT_EQ(reader->Open(url, recorder, 10s), 0);
    while (!recorder.WaitFor(rsOpened, 10ms))
      if (recorder.WaitFor(rsError, 0ms)) break;
    if (recorder.WaitFor(rsOpened, 0ms)) return reader;
    if (recorder.LastError() != -ECONNREFUSED || std::chrono::steady_clock::now() > giveUp) return nullptr;
    std::this_thread::sleep_for(50ms);
  }
}

TEST(ReaderBuffering, ThePercentGrowsWithTheMediaTimeOrBytesHeldAndIsFullAtTheTarget) {
  TPreroll preroll;
  AVPacket* packet = av_packet_alloc();
  std::vector<std::uint32_t> percents;
  // 40-ms packets in a millisecond time base.
  for (int i = 0; !preroll.Full(); ++i) {
    ASSERT_EQ(av_new_packet(packet, 100), 0);
    packet->pts = 1000 + 40 * i;
    packet->duration = 40;
    ASSERT_TRUE(preroll.Hold(*packet, AVRational{1, 1000}));
    percents.push_back(preroll.Percent());
    ASSERT_LT(i, 100);
  }
  ASSERT_EQ(percents.size(), 13u) << "13 packets span 520 ms";
  EXPECT_EQ(percents.front(), 8u);
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
  EXPECT_EQ(percents[11], 96u);
  EXPECT_EQ(percents.back(), 100u);
  EXPECT_EQ(preroll.BufferedTime(), 5'200'000);
  for (int i = 0; i < 13; ++i) {
    ASSERT_TRUE(preroll.Next(*packet));
    EXPECT_EQ(packet->pts, 1000 + 40 * i) << "in the order held";
    av_packet_unref(packet);
  }
  EXPECT_FALSE(preroll.Next(*packet));

  // Packets without times fill it by their bytes.
  TPreroll untimed;
  ASSERT_EQ(av_new_packet(packet, int(TPreroll::kTargetBytes / 4)), 0);
  ASSERT_TRUE(untimed.Hold(*packet, AVRational{1, 1000}));
  EXPECT_EQ(untimed.Percent(), 25u);
  EXPECT_EQ(untimed.BufferedTime(), 0);
  av_packet_free(&packet);
}

TEST(ReaderBuffering, ALocalFileHasNone) {
  TReaderRecorder recorder;
  auto reader = OpenedReader(MediaFile("video.avi"), recorder);
  std::uint32_t percent = 0;
  std::int64_t time = 0;
  EXPECT_FALSE(reader->GetBufferProgress(percent, time));
}

TEST(ReaderNetwork, AUdpTransportStreamBuffersThenPlays) {
  const std::string stream = MediaFile("stream.ts");
  const int port = test::UnusedUdpPort();
  TReaderRecorder recorder;
  std::unique_ptr<TReader> reader;
  ASSERT_EQ(TReader::Create(reader), 0);
  ASSERT_EQ(reader->Open("udp://127.0.0.1:" + std::to_string(port), recorder, 10s), 0);
  ASSERT_TRUE(recorder.WaitFor(rsConnecting));
  // Eight seconds of media in 0.8 s: the reader's analysis of the first
  // five seconds takes half a second.
  test::TUdpSender sender(test::FileContents(stream), port, 800ms);
  ASSERT_TRUE(recorder.WaitFor(rsOpened));
  const int video = OutputOf(*reader, TSubtype::RGB24);
  ASSERT_GE(video, 0);
  ASSERT_GE(OutputOf(*reader, TSubtype::PCM), 0);

  reader->SetUserProvidedClock(true);
  ASSERT_EQ(reader->Start(0, 0, 1.0), 0);
  reader->DeliverTime(kEverything);
  std::vector<std::uint32_t> percents;
  std::uint32_t percent = 0;
  std::int64_t buffered = 0;
  while (!recorder.WaitFor(rsBufferingStopped, 1ms))
    if (reader->GetBufferProgress(percent, buffered)) percents.push_back(percent);
  ASSERT_TRUE(reader->GetBufferProgress(percent, buffered));
  percents.push_back(percent);
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
  EXPECT_EQ(percents.back(), 100u);
  EXPECT_GE(buffered, TPreroll::kTargetTime);

  ASSERT_TRUE(recorder.WaitForSamples(video, 20));
  for (const auto& frame : recorder.Samples(video)) EXPECT_EQ(frame.bytes, 64u * 48u * 3u);
  const auto statuses = recorder.Statuses();
  const auto at = [&](TReaderStatus status) { return std::find(statuses.begin(), statuses.end(), status); };
  EXPECT_TRUE(at(rsConnecting) < at(rsOpened) && at(rsOpened) < at(rsStarted) &&
              at(rsStarted) < at(rsBufferingStarted) && at(rsBufferingStarted) < at(rsBufferingStopped));
  EXPECT_EQ(reader->Close(), 0);
}

TEST(ReaderNetwork, RtspWithRtpInterleavedInItsConnection) {
  const std::string stream = MediaFile("stream.ts");
  test::TRtspTestServer server(test::FileContents(stream), 800ms);
  TReaderRecorder recorder;
  auto reader = OpenedReader(server.Url(), recorder);
  const int video = OutputOf(*reader, TSubtype::RGB24);
  ASSERT_GE(video, 0);
  reader->SetUserProvidedClock(true);
  ASSERT_EQ(reader->Start(0, 0, 1.0), 0);
  reader->DeliverTime(kEverything);
  ASSERT_TRUE(recorder.WaitForSamples(video, 20));
  for (const auto& frame : recorder.Samples(video)) EXPECT_EQ(frame.bytes, 64u * 48u * 3u);
  EXPECT_EQ(reader->Close(), 0);
  const auto methods = server.Methods();
  EXPECT_EQ(std::count(methods.begin(), methods.end(), "SETUP"), 2) << "over UDP, refused, then interleaved";
  EXPECT_EQ(std::count(methods.begin(), methods.end(), "PLAY"), 1);
}

// The reader does not verify a server's certificate: a self-signed one is
// accepted.
TEST(ReaderNetwork, HttpsFromAServerWithASelfSignedCertificate) {
  test::TMediaFolder folder;
  const std::string stream = MediaFile("stream.ts");
  test::THttpsTestServer server(stream, folder.Path());
  if (!server.Ready()) GTEST_SKIP() << server.Missing();
  TReaderRecorder recorder;
  auto reader = OpenedOnceListening(server.Url(), recorder);
  ASSERT_TRUE(reader) << "error " << recorder.LastError();
  const int video = OutputOf(*reader, TSubtype::RGB24);
  PlayToTheEnd(*reader, recorder);
  EXPECT_EQ(recorder.Bytes(video), test::FFmpegVideoBytes(stream));
}

}  // namespace
}  // namespace fc::media
