// Delay, switch, format changer and snapshot: which frames flow, and when.
#include <gtest/gtest.h>

#include "components/Fcchangeformat.h"
#include "components/Fcdelay.h"
#include "components/Fcsnapshot.h"
#include "components/Fcswitch.h"
#include "platform/runtime/error.h"
#include "tests/components/filter_run.h"

namespace fc {
namespace {

using test::BytesOf;
using test::CountingFrame;
using test::TComponentHarness;
using test::TFilterRun;

// A one-pixel frame whose first byte is n.
TFCImageBuffer Numbered(int n, TFCVideoFormat format = vfRGB24) {
  TFCImageBuffer frame(1, 1, format);
  frame.Write()[0] = static_cast<Ipp8u>(n);
  return frame;
}

std::vector<int> NumbersOf(const TComponentHarness& harness) {
  std::vector<int> numbers;
  for (const auto& frame : harness.Frames()) numbers.push_back(frame->Read()[0]);
  return numbers;
}

TEST(Delay, SendsNothingForTheFirstFramesThenFrameOneWithFrameThirtyOne) {
  TFCDelay delay(nullptr);
  TFilterRun run(delay);
  run.harness.PushStart(1, 1);
  for (int n = 1; n <= 30; ++n) run.harness.PushFrame(Numbered(n));
  EXPECT_TRUE(run.harness.Frames().empty());
  run.harness.PushFrame(Numbered(31));
  EXPECT_EQ(NumbersOf(run.harness), std::vector<int>{1});
  EXPECT_EQ(delay.HeldFrames(), 30u);
}

TEST(Delay, DeliversHeldFramesBeforeTheStopAndStartsEmpty) {
  TFCDelay delay(nullptr);
  delay.SetFrameDelay(3);
  TFilterRun run(delay);
  for (int n = 1; n <= 5; ++n) run.harness.PushFrame(Numbered(n));
  EXPECT_EQ(NumbersOf(run.harness), (std::vector<int>{1, 2}));
  run.harness.PushStop();
  EXPECT_EQ(NumbersOf(run.harness), (std::vector<int>{1, 2, 3, 4, 5}));  // nothing lost
  EXPECT_EQ(run.harness.Names().back(), "stop");
  run.harness.PushFrame(Numbered(9));
  run.harness.PushStart(1, 1);  // a new stream forgets what the old one left
  EXPECT_EQ(delay.HeldFrames(), 0u);
}

TEST(Delay, ZeroOrNegativeDelaysAndLoweringTheDelayReleaseFramesAtOnce) {
  TFCDelay delay(nullptr);
  TFilterRun run(delay);
  delay.SetFrameDelay(4);
  for (int n = 1; n <= 4; ++n) run.harness.PushFrame(Numbered(n));
  delay.SetFrameDelay(1);
  run.harness.PushFrame(Numbered(5));  // the surplus leaves with the next frame
  EXPECT_EQ(NumbersOf(run.harness), (std::vector<int>{1, 2, 3, 4}));
  delay.SetFrameDelay(-2);
  run.harness.PushFrame(Numbered(6));
  EXPECT_EQ(NumbersOf(run.harness), (std::vector<int>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(delay.HeldFrames(), 0u);
  // Formats pass untouched.
  run.harness.PushFrame(Numbered(7, vfYUY2));
  EXPECT_EQ(run.harness.Frames().back()->Format(), vfYUY2);
}

TEST(Delay, RefusesToHoldMoreThanTheMemoryBudget) {
  TFCDelay delay(nullptr);
  TFilterRun run(delay);
  delay.SetFrameDelay(1 << 30);  // no stream yet: nothing to hold
  EXPECT_THROW(run.harness.PushStart(640, 480), EFCError);
  delay.SetFrameDelay(3);
  run.harness.PushStart(640, 480);
  EXPECT_THROW(delay.SetFrameDelay(1 << 30), EFCError);
  EXPECT_EQ(delay.GetFrameDelay(), 3);
}

struct SwitchRun {
  TFCSwitch gate{nullptr};
  TComponentHarness harness;
  SwitchRun() {
    harness.Feed(*gate.GetInputPin());
    harness.Collect(*gate.GetOutputPin());
  }
};

TEST(Switch, AStartArrivingWhileDisabledIsReplayedOnEnabling) {
  SwitchRun s;
  s.gate.SetEnabled(false);
  s.harness.PushStart(8, 6, 25);
  s.harness.PushFrame(Numbered(1));  // dropped
  EXPECT_TRUE(s.harness.Names().empty());
  s.gate.SetEnabled(true);  // ResetOnEnable is false: replayed because pending
  s.harness.PushFrame(Numbered(2));
  EXPECT_EQ(s.harness.Names(), (std::vector<std::string>{"start-frame", "supplied-buffer"}));
  EXPECT_EQ(s.harness.LastStart()->Width(), 8);
  EXPECT_EQ(s.harness.LastStart()->Rate(), 25);
  EXPECT_EQ(NumbersOf(s.harness), std::vector<int>{2});
  s.gate.SetEnabled(false);
  s.gate.SetEnabled(true);  // nothing pending any more
  EXPECT_EQ(s.harness.Names().size(), 2u);
}

TEST(Switch, NothingIsReplayedAfterTheStreamStopped) {
  SwitchRun s;
  s.gate.SetEnabled(false);
  s.harness.PushStart(8, 6);
  s.harness.PushStop();
  s.gate.SetEnabled(true);
  EXPECT_EQ(s.harness.Names(), std::vector<std::string>{"stop"});

  // With ResetOnEnable the running stream's start is replayed on each
  // enabling, but never a start that did not come.
  SwitchRun fresh;
  fresh.gate.SetResetOnEnable(true);
  fresh.gate.SetEnabled(false);
  fresh.gate.SetEnabled(true);
  EXPECT_TRUE(fresh.harness.Names().empty());
  fresh.harness.PushStart(4, 4);
  fresh.gate.SetEnabled(false);
  fresh.gate.SetEnabled(true);
  EXPECT_EQ(fresh.harness.Names(), (std::vector<std::string>{"start-frame", "start-frame"}));
}

TEST(Switch, TheEnabledPinDrivesTheGateAndRequestsGoUpstream) {
  SwitchRun s;
  TPMBoolStatePin control(nullptr, "Control");
  control.Connect(*s.gate.GetEnabledPin());
  control.SetValue(false);
  EXPECT_FALSE(s.gate.GetEnabled());
  s.harness.PushFrame(Numbered(1));
  control.SetValue(true);
  s.harness.PushFrame(Numbered(2));
  EXPECT_EQ(NumbersOf(s.harness), std::vector<int>{2});
  EXPECT_TRUE(s.harness.Pump());
  EXPECT_EQ(s.harness.RequestsReceived(), 1);
}

TEST(ChangeFormat, ConvertsToTheChosenFormatAndReadsThreeBackAsZero) {
  TFCChangeFormat change(nullptr);
  SetPropertyText(change, "Format", "vfRGB32");
  EXPECT_EQ(change.GetFormat(), vfRGB24);
  EXPECT_EQ(GetPropertyText(change, "Format"), "vfRGB24");
  change.SetFormat(static_cast<TFCVideoFormat>(3));
  EXPECT_EQ(static_cast<int>(change.GetFormat()), 0);

  TFilterRun run(change);
  change.SetFormat(vfYUY2);
  const TFCImageBuffer in = CountingFrame(4, 2);
  const TFCImageBuffer out = run.RunOne(in);
  EXPECT_EQ(run.harness.LastStart()->PixelFormat(), 1);  // published value of YUY2
  TFCImageBuffer expected = in;
  expected.ConvertTo(vfYUY2);
  EXPECT_EQ(out.Format(), vfYUY2);
  EXPECT_EQ(BytesOf(out), BytesOf(expected));
  change.SetFormat(vfGray8);
  EXPECT_EQ(run.RunOne(CountingFrame(4, 2, vfYUY2)).Format(), vfGray8);
}

TEST(Snapshot, SendsTheLatestFrameOnlyWhenAsked) {
  TFCSnapshot snap(nullptr);
  TFilterRun run(snap);
  TPMClockSourcePin clock(nullptr, "Clock");
  clock.Connect(*snap.GetSnapshotPin());
  EXPECT_FALSE(snap.Snapshot());  // nothing seen yet
  run.harness.PushStart(1, 1);
  run.harness.PushFrame(Numbered(1));
  run.harness.PushFrame(Numbered(2));
  EXPECT_TRUE(run.harness.Frames().empty());
  EXPECT_TRUE(snap.Snapshot());
  run.harness.PushFrame(Numbered(3));
  clock.Tick();
  EXPECT_EQ(NumbersOf(run.harness), (std::vector<int>{2, 3}));
  run.harness.PushStart(1, 1);  // a new stream forgets the old frame
  EXPECT_FALSE(snap.Snapshot());
}

TEST(Snapshot, PreservingTheRateSendsTheLastSnapshotForEveryFrame) {
  TFCSnapshot snap(nullptr);
  snap.SetPreserveFrameRate(true);
  TFilterRun run(snap);
  run.harness.PushStart(1, 1);
  run.harness.PushFrame(Numbered(5));  // black until the first snapshot
  EXPECT_TRUE(snap.Snapshot());        // running: nothing sent now
  run.harness.PushFrame(Numbered(6));
  run.harness.PushFrame(Numbered(7));
  EXPECT_EQ(NumbersOf(run.harness), (std::vector<int>{0, 5, 5}));
  run.harness.PushStop();
  EXPECT_TRUE(snap.Snapshot());  // stopped: sent at once, and used up
  EXPECT_EQ(NumbersOf(run.harness).back(), 7);
  EXPECT_FALSE(snap.Snapshot());
}

}  // namespace
}  // namespace fc
