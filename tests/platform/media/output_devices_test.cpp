// Transmit devices: enumeration, the null output, the preview window (on
// SDL's dummy video driver) with its newest-frame-wins hand-off, loss and
// shutdown; the audio output devices; selection by name with alternatives.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include <cerrno>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/media/audio_output.h"
#include "platform/media/device_selection.h"
#include "platform/media/dv_encoder_settings.h"
#include "platform/media/dv_stream_device.h"
#include "platform/media/output_devices.h"
#include "platform/media/preview_window.h"
#include "platform/signal/clock_thread.h"

namespace fc::media {
namespace {

template <class Condition> bool Eventually(Condition condition) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > limit) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

TFCImageBuffer Filled(int width, int height, Ipp8u blue, Ipp8u green, Ipp8u red) {
  TFCImageBuffer frame(width, height);
  Ipp8u* p = frame.Write();
  for (int i = 0; i < width * height; ++i, p += 3) p[0] = blue, p[1] = green, p[2] = red;
  return frame;
}

TEST(TransmitDevices, AreListedByNameAndMadeByName) {
  const auto names = TransmitDeviceNames();
  EXPECT_NE(std::find(names.begin(), names.end(), "Preview Window"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "Null Output"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "DV Stream"), names.end());
  auto null = CreateTransmitDevice("Null Output", "");
  ASSERT_TRUE(null);
  EXPECT_EQ(null->Input(), TDSDeviceInput::Bgr24);
  EXPECT_EQ(CreateTransmitDevice("No Such Device", ""), nullptr);
}

TEST(TransmitDevices, NullOutputCountsWhatItDiscards) {
  TDSNullOutput device;
  EXPECT_EQ(device.Open({64, 48, 400000}), "");
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(device.RenderFrame(TFCImageBuffer(64, 48)));
  EXPECT_EQ(device.FramesRendered(), 5);
}

TEST(PreviewWindow, ShowsTheFrameScaledToTheWindow) {
  TDSPreviewWindow window;
  ASSERT_EQ(window.Open({64, 48, 400000}), "");
  ASSERT_TRUE(window.RenderFrame(Filled(32, 24, 10, 200, 90)));  // half the window's size
  ASSERT_TRUE(Eventually([&] { return window.FramesShown() == 1; }));
  const TFCImageBuffer shot = window.Snapshot();
  ASSERT_EQ(shot.Width(), 64);
  ASSERT_EQ(shot.Height(), 48);
  const Ipp8u* centre = shot.Read() + (24 * 64 + 32) * 3;
  EXPECT_EQ(centre[0], 10);
  EXPECT_EQ(centre[1], 200);
  EXPECT_EQ(centre[2], 90);
}

TEST(PreviewWindow, NewestFrameWinsWhenTheWindowFallsBehind) {
  TDSPreviewWindow window;
  ASSERT_EQ(window.Open({64, 48, 400000}), "");
  constexpr int kFrames = 200;
  for (int i = 0; i < kFrames; ++i) ASSERT_TRUE(window.RenderFrame(Filled(64, 48, static_cast<Ipp8u>(i), 0, 0)));
  ASSERT_TRUE(Eventually([&] { return window.FramesShown() + window.FramesReplaced() == kFrames; }));
  EXPECT_EQ(window.Snapshot().Read()[0], kFrames - 1);  // the last one is on screen
  EXPECT_EQ(window.FramesRendered(), kFrames);
}

TEST(PreviewWindow, ClosingTheWindowLosesTheDeviceOnce) {
  TDSPreviewWindow window;
  std::atomic<int> lost{0};
  window.SetOnLost([&] { ++lost; });
  ASSERT_EQ(window.Open({64, 48, 400000}), "");
  window.RequestClose();
  ASSERT_TRUE(Eventually([&] { return window.IsLost(); }));
  EXPECT_FALSE(window.RenderFrame(TFCImageBuffer(64, 48)));
  window.RequestClose();
  window.Close();
  EXPECT_EQ(lost.load(), 1);
  EXPECT_EQ(window.Snapshot().Width(), 0);
}

// Windows opened, fed from another thread and closed while frames arrive;
// several at once share the one window thread.
TEST(PreviewWindow, ClosedAndDestroyedWhileFramesArrive) {
  for (int round = 0; round < 3; ++round) {
    auto first = std::make_unique<TDSPreviewWindow>();
    TDSPreviewWindow second;
    ASSERT_EQ(first->Open({32, 24, 400000}), "");
    ASSERT_EQ(second.Open({32, 24, 400000}), "");
    std::atomic<bool> stop{false};
    std::thread feeder([&] {
      const TFCImageBuffer frame(32, 24);
      while (!stop) second.RenderFrame(frame), std::this_thread::yield();
    });
    for (int i = 0; i < 20; ++i) first->RenderFrame(TFCImageBuffer(32, 24));
    first.reset();
    second.Close();
    stop = true;
    feeder.join();
  }
}

TEST(AudioOutput, DefaultAndNoneComeFirstAndTheQueueIsBounded) {
  const auto names = AudioOutputDeviceNames();
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ(names[0], "default");
  EXPECT_EQ(names[1], "none");

  TDSAudioRenderer renderer;
  const auto format = MakePcmWaveFormat(2, 48000, 16);
  ASSERT_EQ(renderer.Open("default", format), "");
  const std::vector<std::uint8_t> second(48000 * 4);  // one second of sound
  int queued = 0;
  for (int i = 0; i < 10; ++i) queued += renderer.Queue(second) ? 1 : 0;
  EXPECT_LE(queued, 3);  // about two seconds are held, not ten
  EXPECT_GE(renderer.DroppedBlocks(), 7);
  EXPECT_NE(renderer.Open("no such sound device", format), "");
  EXPECT_FALSE(renderer.IsOpen());
  EXPECT_EQ(renderer.Open("default", MakePcmWaveFormat(2, 48000, 24)), "");  // widened to 32 bits
  EXPECT_TRUE(renderer.Queue(std::vector<std::uint8_t>(4800 * 6)));
  TTBWaveFormatExtensible odd = format;
  odd.bitsPerSample = 12;
  EXPECT_NE(renderer.Open("default", odd), "");
}

TEST(DeviceSelection, TheFirstPresentOfTheDeviceAndItsAlternatives) {
  TDSVideoOutputDevice device(nullptr, "VideoOutputDevice");
  const std::vector<std::string> present{"Null Output", "Preview Window"};
  EXPECT_FALSE(device.FindPresent(present));  // none selected
  device.SetDeviceName("Missing");
  device.GetAlternativeDevices()->Add().SetDeviceName("Also Missing");
  device.GetAlternativeDevices()->Add().SetDeviceName("Preview Window");
  device.GetAlternativeDevices()->Add().SetDeviceName("Null Output");
  EXPECT_EQ(device.FindPresent(present), "Preview Window");
  device.SetDeviceName("Null Output");
  EXPECT_EQ(device.FindPresent(present), "Null Output");

  int changes = 0;
  TDSAudioOutputDevice audio(nullptr, "AudioOutputDevice", [&] { ++changes; });
  EXPECT_TRUE(audio.IsDefault());
  audio.SetDeviceName("none");
  audio.SetDeviceName("none");
  EXPECT_TRUE(audio.IsNone());
  EXPECT_EQ(changes, 1);
}

TEST(DVEncoderSettings, OnlyFullResolutionStandardDVIsWritable) {
  TDSDVEncoderSettings pal{kDVEncoderPAL, kDVEncoderDVSD, kDVEncoderRes720};
  EXPECT_EQ(pal.Unwritable(), "");
  EXPECT_EQ(pal.Height(), 576);
  EXPECT_EQ(pal.FrameDuration(), 400000);
  EXPECT_EQ(TDSDVEncoderSettings{}.FrameDuration(), 333667);
  EXPECT_NE(TDSDVEncoderSettings({kDVEncoderPAL, kDVEncoderDVHD, kDVEncoderRes720}).Unwritable(), "");
  EXPECT_NE(TDSDVEncoderSettings({kDVEncoderPAL, kDVEncoderDVSL, kDVEncoderRes720}).Unwritable(), "");
  EXPECT_NE(TDSDVEncoderSettings({kDVEncoderNTSC, kDVEncoderDVSD, kDVEncoderRes360}).Unwritable(), "");
  EXPECT_TRUE(TDSDVEncoderSettings::ForStream(400000).IsPAL());
  EXPECT_FALSE(TDSDVEncoderSettings::ForStream(333667).IsPAL());
}

TEST(DVStreamDevice, WritesToAFileOrToANamedPipeThatHasAReader) {
  const auto dir = std::filesystem::temp_directory_path() / ("fc_dv_device_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  auto device = CreateTransmitDevice("DV Stream", (dir / "out.dv").string());
  ASSERT_TRUE(device);
  EXPECT_EQ(device->Input(), TDSDeviceInput::DV);
  EXPECT_EQ(device->Open({64, 48, 400000}), "");
  EXPECT_EQ(static_cast<TDSDVStreamDevice&>(*device).Output(), (dir / "out.dv").string());
  EXPECT_NE(TDSDVStreamDevice("").Open({64, 48, 400000}), "");

  const auto fifo = dir / "deck";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  TDSDVStreamDevice piped(fifo.string());
  EXPECT_EQ(piped.Open({64, 48, 400000}), "");
  EXPECT_EQ(piped.Output().rfind("pipe:", 0), 0u);
  piped.WriteFailed(-EPIPE);  // FFmpeg's code for a broken pipe: its reader went away
  EXPECT_TRUE(piped.IsLost());
  piped.Close();
  ::close(reader);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace fc::media
