// The video output on devices that take frames directly: graph building and
// its messages, queues bounded while the graph is down, devices lost, sound
// that never blocks the video, and the DV format's encoder values.
#include <gtest/gtest.h>

#include <algorithm>

#include "media/Fcdsvideoout.h"
#include "platform/media/preview_window.h"
#include "platform/runtime/error.h"
#include "tests/media/video_out_support.h"

namespace fc {
namespace {

using test::Eventually;
using test::TAudioSource;
using test::TVideoOutRig;

bool HasStage(const TFCDSVideoOut& out, const std::string& name) {
  const auto stages = out.GraphStages();
  return std::find(stages.begin(), stages.end(), name) != stages.end();
}

TEST(VideoOut, StartsWithTheStoredDefaults) {
  TFCDSVideoOut out(nullptr);
  EXPECT_TRUE(PropertiesDifferingFromDefault(out).empty());
  EXPECT_EQ(GetPropertyText(out, "DVFormat.UseCurrent"), "True");
  EXPECT_EQ(GetPropertyText(out, "EnableMasterPumping"), "True");
  EXPECT_EQ(GetPropertyText(out, "VideoOutputDevice.DeviceName"), "");
}

TEST(VideoOut, AStreamWithoutWidthOrHeightOpensNothing) {
  TVideoOutRig rig("Null Output");
  rig.out->BeginVideo(0, 48, vfRGB24, 400000);
  rig.harness.PushStart(64, 0, 25);
  EXPECT_FALSE(rig.out->IsOpen());
  EXPECT_EQ(rig.out->ErrorCount(), 0);
}

TEST(VideoOut, ADeviceTakingFramesDirectlyGetsThemWithoutADVChain) {
  TVideoOutRig rig("Null Output");
  ASSERT_TRUE(rig.harness.PushStart(64, 48, 25));
  ASSERT_TRUE(rig.out->IsRunning());
  rig.PushFrames(5);
  rig.harness.PushFrame(test::CountingFrame(64, 48, vfYUY2));
  EXPECT_TRUE(Eventually([&] { return rig.out->FramesRendered() == 6; }));
  EXPECT_TRUE(HasStage(*rig.out, "VideoSource"));
  EXPECT_TRUE(HasStage(*rig.out, "Video Render"));
  for (const char* stage : {"DV Mux", "DV Encoder", "Color Converter", "ACM Wrapper"})
    EXPECT_FALSE(HasStage(*rig.out, stage)) << stage;
  // Master pumping off: rendered as they arrive, nothing asked of upstream.
  EXPECT_EQ(rig.harness.RequestsReceived(), 0);
  EXPECT_EQ(rig.out->MasterPumpsSent(), 0);
}

TEST(VideoOut, AMissingDeviceQueuesABoundedNumberOfFramesUntilOneIsSelected) {
  TVideoOutRig rig("No Such Device");
  rig.harness.PushStart(64, 48, 25);
  EXPECT_FALSE(rig.out->IsOpen());
  EXPECT_EQ(rig.out->LastError(), "Can't open the DV Device.");
  const int sent = TFCDSVideoOut::kMaxQueuedFrames + 10;
  rig.PushFrames(sent);
  EXPECT_EQ(rig.out->QueuedFrames(), TFCDSVideoOut::kMaxQueuedFrames);
  EXPECT_EQ(rig.out->DroppedFrames(), 10);

  rig.out->GetVideoOutputDevice()->SetDeviceName("Null Output");
  EXPECT_TRUE(rig.out->IsRunning());
  ASSERT_TRUE(Eventually([&] { return rig.out->FramesRendered() == TFCDSVideoOut::kMaxQueuedFrames; }));
  EXPECT_EQ(rig.out->QueuedFrames(), 0);
  EXPECT_EQ(rig.errors, std::vector<std::string>{"Can't open the DV Device."});
}

TEST(VideoOut, AlternativesAreTriedInOrderWhenTheDeviceIsMissing) {
  TVideoOutRig rig("No Such Device");
  auto* alternatives = rig.out->GetVideoOutputDevice()->GetAlternativeDevices();
  alternatives->Add().SetDeviceName("Not Here Either");
  alternatives->Add().SetDeviceName("Null Output");
  rig.harness.PushStart(64, 48, 25);
  ASSERT_TRUE(rig.out->IsRunning());
  EXPECT_EQ(rig.out->Device()->Name(), "Null Output");
}

TEST(VideoOut, ALostDeviceStopsTheOutputAndLaterFramesQueueBounded) {
  TVideoOutRig rig("Preview Window");
  rig.harness.PushStart(64, 48, 25);
  ASSERT_TRUE(rig.out->IsRunning());
  rig.PushFrames(3);
  ASSERT_TRUE(Eventually([&] { return rig.out->FramesRendered() == 3; }));
  auto* window = dynamic_cast<media::TDSPreviewWindow*>(rig.out->Device());
  ASSERT_NE(window, nullptr);
  window->RequestClose();  // the user closes the window
  ASSERT_TRUE(Eventually([&] { return !rig.out->IsRunning(); }));
  rig.PushFrames(TFCDSVideoOut::kMaxQueuedFrames + 5);
  EXPECT_EQ(rig.out->FramesRendered(), 3);
  EXPECT_EQ(rig.out->QueuedFrames(), TFCDSVideoOut::kMaxQueuedFrames);
  EXPECT_EQ(rig.out->DroppedFrames(), 5);
  rig.harness.PushStop();  // the stream ends: what could not be shown is counted
  EXPECT_EQ(rig.out->QueuedFrames(), 0);
  EXPECT_EQ(rig.out->DroppedFrames(), TFCDSVideoOut::kMaxQueuedFrames + 5);
  EXPECT_FALSE(rig.out->IsOpen());
}

TEST(VideoOut, GraphEventsAbortAndDeviceLostStopTheOutput) {
  for (int code : {3, 31}) {
    TVideoOutRig rig("Null Output");
    rig.harness.PushStart(64, 48, 25);
    rig.out->GraphEvent(code, 0, 0);
    EXPECT_FALSE(rig.out->IsRunning()) << code;
    rig.out->GraphEvent(1, 0, 0);
  }
}

// One thread delivers video and never any sound although an audio source is
// connected: the video is queued a while, then runs without sound; sound that
// begins later joins it.
TEST(VideoOut, TheGraphIsAnnouncedOnceBuilt) {
  TVideoOutRig rig("Null Output");
  int built = 0;
  rig.out->GetGraph()->SetOnNotify([&](TDSGraph&) { ++built; });
  rig.harness.PushStart(64, 48, 25);
  EXPECT_EQ(built, 1);
  EXPECT_EQ(rig.out->GraphStages(), (std::vector<std::string>{"Video Render", "VideoSource"}));
}

TEST(VideoOut, VideoWaitingForSoundNeverBlocksTheDeliveringThread) {
  TVideoOutRig rig("Null Output");
  TAudioSource audio;
  audio.pin.Connect(*rig.out->GetAudioInputPin());
  rig.harness.PushStart(64, 48, 25);
  EXPECT_FALSE(rig.out->IsRunning());
  const auto begin = std::chrono::steady_clock::now();
  while (!rig.out->IsRunning() && std::chrono::steady_clock::now() - begin < std::chrono::seconds(5)) {
    rig.PushFrames(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_TRUE(rig.out->IsRunning());
  EXPECT_GE(std::chrono::steady_clock::now() - begin, TFCDSVideoOut::kAudioWait);
  EXPECT_EQ(rig.out->QueuedFrames(), 0);
  EXPECT_FALSE(HasStage(*rig.out, "AudioSource"));

  audio.Start();
  ASSERT_TRUE(rig.out->IsRunning());
  EXPECT_TRUE(HasStage(*rig.out, "AudioSource"));
  EXPECT_TRUE(HasStage(*rig.out, "Audio Render"));
  audio.Block();
  audio.pin.SendStop();  // the sound ends; the video goes on
  EXPECT_TRUE(rig.out->IsRunning());
  EXPECT_FALSE(HasStage(*rig.out, "AudioSource"));
}

TEST(VideoOut, SoundToDeviceNoneBuildsNoSoundPath) {
  TVideoOutRig rig("Null Output");
  rig.out->GetAudioOutputDevice()->SetDeviceName("none");
  TAudioSource audio;
  audio.pin.Connect(*rig.out->GetAudioInputPin());
  audio.Start();
  rig.harness.PushStart(64, 48, 25);
  ASSERT_TRUE(rig.out->IsRunning());
  EXPECT_FALSE(HasStage(*rig.out, "AudioSource"));
  audio.Block();  // goes nowhere, harmlessly
}

TEST(VideoOut, AnUnhandledGraphErrorIsRaisedToWhoStartedTheStream) {
  TVideoOutRig rig("No Such Device");
  rig.raiseErrors = true;
  try {
    rig.harness.PushStart(64, 48, 25);
    ADD_FAILURE() << "no error raised";
  } catch (const EFCError& error) {
    EXPECT_STREQ(error.what(), "VideoOut1.Graph: Can't open the DV Device.");
  }
}

TEST(VideoOut, ASoundDeviceThatCannotOpenFailsTheGraphWithItsMessage) {
  TVideoOutRig rig("Null Output");
  rig.out->GetAudioOutputDevice()->SetDeviceName("no such sound device");
  TAudioSource audio;
  audio.pin.Connect(*rig.out->GetAudioInputPin());
  audio.Start();
  rig.harness.PushStart(64, 48, 25);
  EXPECT_FALSE(rig.out->IsOpen());
  EXPECT_EQ(rig.out->LastError(), "Can't create audio render filter.");
}

TEST(DVFormat, SendsTheEncoderValuesAndReadsThemBack) {
  TFCDSVideoOut out(nullptr);
  TFCDVFormat& format = *out.GetDVFormat();
  SetPropertyText(out, "DVFormat.Format", "dvfPAL");
  const media::TDSDVEncoderSettings pal = format.EncoderSettings();
  EXPECT_EQ(pal.videoFormat, 2001);
  EXPECT_EQ(pal.encoding, 2007);
  EXPECT_EQ(pal.resolution, 2012);
  format.ReadFromEncoder({2000, 2009, 2015});
  EXPECT_EQ(format.GetFormat(), dvfNTSC);
  EXPECT_EQ(format.GetEncoding(), dveDVSL);
  EXPECT_EQ(format.GetResolution(), dvr88);
  format.ReadFromEncoder({1999, 2008, 4242});  // unlisted values change nothing
  EXPECT_EQ(format.GetFormat(), dvfNTSC);
  EXPECT_EQ(format.GetEncoding(), dveDVHD);
  EXPECT_EQ(format.GetResolution(), dvr88);
  EXPECT_THROW(format.SetFormat(static_cast<TFCDSDVFormat>(7)), EFCError);
}

}  // namespace
}  // namespace fc
