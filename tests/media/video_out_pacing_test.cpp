// Pacing by the device's clock, and stopping and destroying the output while
// its threads and the preview window's run.
#include <gtest/gtest.h>

#include <chrono>

#include "components/Fcjaehnegen.h"
#include "media/Fcdsvideoout.h"
#include "tests/media/video_out_support.h"

namespace fc {
namespace {

using test::Eventually;
using test::TVideoOutRig;
using Clock = std::chrono::steady_clock;

// A pumped generator at `rate` feeding a video output (and, to count what
// left the generator, a harness).
struct TPumpedChain {
  TPumpedChain(const std::string& device, double rate) : out(std::make_unique<TFCDSVideoOut>(nullptr)) {
    SetPropertyText(gen, "ImageSize.Width", "64");
    SetPropertyText(gen, "ImageSize.Height", "48");
    gen.SetFrameRate(rate);
    gen.SetPacing(gpPump);
    out->GetVideoOutputDevice()->SetDeviceName(device);
    gen.GetOutputPin()->Connect(*out->GetInputPin());
    gen.GetOutputPin()->Connect(probe.downstream);
  }
  std::size_t FramesSent() const { return probe.Frames().size(); }

  test::TComponentHarness probe;
  TFCJaehneGen gen{nullptr};
  std::unique_ptr<TFCDSVideoOut> out;
};

TEST(VideoOutPacing, FiftyFramesAtTwentyFiveAFrameEachFrameDurationOfTheDeviceClock) {
  constexpr int kFrames = 50;
  constexpr double kRate = 25;
  TPumpedChain chain("Null Output", kRate);
  const auto begin = Clock::now();
  chain.gen.Start();
  ASSERT_TRUE(Eventually([&] { return chain.out->FramesRendered() >= kFrames; }, std::chrono::seconds(20)));
  const double seconds = std::chrono::duration<double>(Clock::now() - begin).count();
  chain.gen.Stop();

  // Upstream sent exactly what the device rendered: one frame per pump.
  EXPECT_EQ(static_cast<std::int64_t>(chain.FramesSent()), chain.out->FramesRendered());
  // A pump may cross the generator's stop and make nothing.
  EXPECT_GE(chain.out->MasterPumpsSent(), chain.out->FramesRendered());
  EXPECT_LE(chain.out->MasterPumpsSent(), chain.out->FramesRendered() + 1);
  // The pacing's deadlines are whole frame durations from its start: the
  // device's clock, not the time each tick happened to run, sets them.
  const std::int64_t deadline = chain.out->LastPacingDeadline();
  EXPECT_EQ(deadline % 400000, 0);
  EXPECT_GE(deadline / 400000, kFrames - 1);
  // The first frame goes at once, the fiftieth 49 durations later: two
  // seconds of stream within 5 %. Never sooner; later only by the load of
  // the machine on the last frame (lateness does not add up).
  EXPECT_GE(seconds, 2.0 * 0.95);
  EXPECT_LE(seconds, 2.0 * 1.05 + 0.25);
}

TEST(VideoOutPacing, MasterPumpsReachUpstreamAtTheFrameRate) {
  TVideoOutRig rig("Null Output", true);
  rig.harness.PushStart(64, 48, 100);
  ASSERT_TRUE(Eventually([&] { return rig.harness.RequestsReceived() >= 10; }));
  rig.harness.PushStop();
  const int pumps = rig.harness.RequestsReceived();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_LE(rig.harness.RequestsReceived(), pumps + 1);  // stopped pacing pumps no more
}

TEST(VideoOutPacing, PausePumpsNothingUntilResumed) {
  TVideoOutRig rig("Null Output", true);
  rig.harness.PushStart(64, 48, 100);
  ASSERT_TRUE(Eventually([&] { return rig.harness.RequestsReceived() >= 3; }));
  rig.out->Pause();
  const int paused = rig.harness.RequestsReceived();
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  EXPECT_LE(rig.harness.RequestsReceived(), paused + 1);
  rig.out->Resume();
  EXPECT_TRUE(Eventually([&] { return rig.harness.RequestsReceived() >= paused + 3; }));
}

// Stops and destructions in every order while pumps, frames and the window
// thread are busy.
TEST(VideoOutThreads, DestroyedWhilePumpingIntoAPreviewWindow) {
  for (int round = 0; round < 3; ++round) {
    TPumpedChain chain("Preview Window", 200);
    chain.gen.Start();
    ASSERT_TRUE(Eventually([&] { return chain.out->FramesRendered() >= 5; }));
    chain.out.reset();  // the output goes while the generator still runs
    chain.gen.Stop();
  }
}

TEST(VideoOutThreads, UpstreamStopsAndRestartsWhilePumped) {
  TPumpedChain chain("Preview Window", 200);
  for (int round = 0; round < 3; ++round) {
    chain.gen.Start();
    ASSERT_TRUE(Eventually([&] { return chain.out->FramesRendered() >= 5 * (round + 1); }));
    chain.gen.Stop();
    EXPECT_FALSE(chain.out->IsOpen());
  }
}

TEST(VideoOutThreads, FramesPushedFromALiveSourceWhileTheWindowIsClosed) {
  TVideoOutRig rig("Preview Window");
  TFCJaehneGen live(nullptr);
  SetPropertyText(live, "ImageSize.Width", "64");
  SetPropertyText(live, "ImageSize.Height", "48");
  live.SetFrameRate(500);
  live.GetOutputPin()->Connect(*rig.out->GetInputPin());
  live.Start();
  ASSERT_TRUE(Eventually([&] { return rig.out->FramesRendered() >= 5; }));
  rig.out->Disconnect();
  rig.out->Stop();
  live.Stop();
  EXPECT_FALSE(rig.out->IsOpen());
}

}  // namespace
}  // namespace fc
