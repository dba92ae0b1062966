// The media writer: files every player opens, lossless codecs bit-exact,
// time stamps kept, failures answered with FFmpeg's codes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/media/writer.h"
#include "tests/support/media_probe.h"

namespace fc::media {
namespace {

constexpr int kWidth = 64, kHeight = 48, kFrames = 12;

// A picture that changes with every frame, three bytes per pixel.
std::vector<std::uint8_t> Picture(int frame) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kWidth) * kHeight * 3);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * kWidth + x) * 3];
      p[0] = static_cast<std::uint8_t>(x * 4 + frame * 7);
      p[1] = static_cast<std::uint8_t>(y * 5);
      p[2] = static_cast<std::uint8_t>((x ^ y) + frame);
    }
  return pixels;
}

// One stereo 16-bit block of a 440 Hz tone.
std::vector<std::uint8_t> Tone(int samples, int rate) {
  std::vector<std::uint8_t> pcm(static_cast<std::size_t>(samples) * 4);
  for (int i = 0; i < samples; ++i) {
    const auto v = static_cast<std::int16_t>(8000 * std::sin(2 * 3.14159265 * 440 * i / rate));
    for (int c = 0; c < 2; ++c) {
      pcm[i * 4 + c * 2] = static_cast<std::uint8_t>(v & 0xFF);
      pcm[i * 4 + c * 2 + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
    }
  }
  return pcm;
}

void Open(TMediaWriter& writer, const std::string& container, const std::filesystem::path& file) {
  ASSERT_TRUE(writer.Create(container, file.string())) << container;
  ASSERT_TRUE(writer.OpenFile()) << file;
}

TWriterVideoSettings Video(const std::string& codec) {
  TWriterVideoSettings video;
  video.width = kWidth;
  video.height = kHeight;
  video.codec = codec;
  return video;
}

TEST(MediaWriter, AsfWithVideoAndAudioOpensInFFprobeWithEveryFrameAndItsDuration) {
  test::TMediaFolder folder;
  const auto file = folder / "out.wmv";
  TMediaWriter writer;
  Open(writer, "asf", file);
  ASSERT_TRUE(writer.AddVideoStream(Video("WMV2")));
  TWriterAudioSettings audio;
  ASSERT_TRUE(writer.AddAudioStream(audio));
  EXPECT_TRUE(writer.SetIndexing(true));
  ASSERT_TRUE(writer.Start());
  const auto tone = Tone(44100 / 25, 44100);
  for (int i = 0; i < kFrames; ++i) {
    const auto picture = Picture(i);
    ASSERT_TRUE(writer.WriteVideo(picture.data(), picture.size(), {}));
    ASSERT_TRUE(writer.WriteAudio(tone));
  }
  ASSERT_TRUE(writer.Finish());
  EXPECT_EQ(writer.Progress().videoFrames, kFrames);
  EXPECT_EQ(writer.Progress().bytes, static_cast<std::int64_t>(std::filesystem::file_size(file)));

  auto video = test::ProbeStream(file, "v:0");
  EXPECT_EQ(video["codec_name"], "wmv2");
  EXPECT_EQ(video["width"], "64");
  EXPECT_EQ(video["height"], "48");
  EXPECT_EQ(video["nb_read_frames"], std::to_string(kFrames));
  EXPECT_EQ(test::ProbeStream(file, "a:0")["codec_name"], "wmav2");
  // The audio encoder's delay may shift both streams alike; the video lasts
  // its twelve frames.
  const auto times = test::PacketTimes(file, "v:0");
  ASSERT_EQ(times.size(), std::size_t{kFrames});
  EXPECT_NEAR(times.back() - times.front() + 1 / 25.0, kFrames / 25.0, 1 / 25.0);
  EXPECT_EQ(test::DecodeWithFFmpeg(file).size(), std::size_t{kWidth} * kHeight * 3 * kFrames);
}

TEST(MediaWriter, LosslessCodecsGiveBackTheFramesBitExact) {
  test::TMediaFolder folder;
  for (const char* codec : {"FFV1", "HFYU"}) {
    const auto file = folder / (std::string(codec) + ".avi");
    {
      TMediaWriter writer;
      Open(writer, "avi", file);
      ASSERT_TRUE(writer.AddVideoStream(Video(codec))) << codec;
      ASSERT_TRUE(writer.Start());
      for (int i = 0; i < 3; ++i) {
        const auto picture = Picture(i);
        ASSERT_TRUE(writer.WriteVideo(picture.data(), picture.size(), {}));
      }
    }  // destruction finishes the file
    std::string expected;
    for (int i = 0; i < 3; ++i) {
      const auto picture = Picture(i);
      expected.append(picture.begin(), picture.end());
    }
    EXPECT_TRUE(test::DecodeWithFFmpeg(file) == expected) << codec;
  }
}

TEST(MediaWriter, FrameTimeStampsPlaceFramesAndLateStampsAreMovedOn) {
  test::TMediaFolder folder;
  const auto file = folder / "stamped.mkv";
  TMediaWriter writer;
  Open(writer, "matroska", file);
  ASSERT_TRUE(writer.AddVideoStream(Video("MJPG")));
  ASSERT_TRUE(writer.Start());
  const auto picture = Picture(0);
  // Frames at 0, 0.2 s and 0.4 s; the last one's stamp lies before the one
  // it follows and is moved just after it.
  for (std::int64_t begin : {0LL, 2'000'000LL, 4'000'000LL, 1'000'000LL}) {
    const TPMTimeStamps stamps{begin, begin + 400'000, true};
    ASSERT_TRUE(writer.WriteVideo(picture.data(), picture.size(), stamps));
  }
  ASSERT_TRUE(writer.Finish());
  EXPECT_EQ(test::PacketTimes(file, "v:0"), (std::vector<double>{0, 0.2, 0.4, 0.44}));
}

TEST(MediaWriter, RefusesWhatItCannotWriteWithFFmpegsCode) {
  test::TMediaFolder folder;
  TMediaWriter writer;
  ASSERT_TRUE(writer.Create("asf", (folder / "missing" / "out.wmv").string()));
  const TMediaStatus open = writer.OpenFile();
  EXPECT_FALSE(open);
  EXPECT_LT(open.code, 0);
  EXPECT_FALSE(writer.Start());
  EXPECT_FALSE(std::filesystem::exists(folder / "missing"));

  TMediaWriter other;
  EXPECT_FALSE(other.Create("no-such-container", (folder / "x").string()));
  TMediaWriter third;
  Open(third, "avi", folder / "x.avi");
  EXPECT_FALSE(third.AddVideoStream(Video("QQQQ")));
  TWriterVideoSettings dv = Video("DVSD");  // DV takes only its own frame sizes
  EXPECT_FALSE(third.AddVideoStream(dv));
  ASSERT_TRUE(third.AddVideoStream(Video("MJPG")));
  ASSERT_TRUE(third.Start());
  const auto picture = Picture(0);
  EXPECT_FALSE(third.WriteVideo(picture.data(), picture.size() - 1, {}));
  EXPECT_FALSE(third.WriteAudio(picture));
  EXPECT_TRUE(third.Finish());
  EXPECT_EQ(third.Progress().videoFrames, 0);
}

}  // namespace
}  // namespace fc::media
