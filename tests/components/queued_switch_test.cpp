// The playlist switch on one thread of producers: channel order, channel
// advance, live channels, counts, pause, stop and pump-master pacing.
#include <gtest/gtest.h>

#include <atomic>

#include "tests/components/queued_switch_support.h"

namespace fc {
namespace {

using test::NumberedFrame;
using test::TQueuedSwitchRun;
using test::WaitUntil;

TEST(QueuedSwitch, PlaysTheChannelsInTurnAndLosesNothingAtTheEnd) {
  TQueuedSwitchRun run(2);
  int switches = 0;
  run.queued->SetOnSwitch([&](TComponent& sender) {
    EXPECT_EQ(&sender, run.queued.get());
    ++switches;
  });
  run.Producer(0).PushStart(1, 1);
  run.Producer(1).PushStart(1, 1);
  for (int n = 1; n <= 3; ++n) run.Producer(0).PushFrame(NumberedFrame(n));
  for (int n = 11; n <= 12; ++n) run.Producer(1).PushFrame(NumberedFrame(n));
  run.Producer(0).PushStop();
  run.Producer(1).PushStop();  // the last stop plays out what is queued first
  EXPECT_EQ(run.Numbers(), (std::vector<int>{1, 2, 3, 11, 12}));
  const std::vector<std::string> names = run.output.Names();
  EXPECT_EQ(names.front(), "start-frame");
  EXPECT_EQ(std::count(names.begin(), names.end(), "start-frame"), 1);
  EXPECT_EQ(names.back(), "stop");
  EXPECT_EQ(switches, 1);
  EXPECT_EQ(run.queued->QueuedVideo(), 0);
  EXPECT_EQ(run.queued->DroppedFrames(), 0);
}

TEST(QueuedSwitch, AnEndedEmptyChannelGivesWayToTheNextWithOnSwitch) {
  TQueuedSwitchRun run(2);
  std::atomic<int> switches{0};
  run.queued->SetOnSwitch([&](TComponent&) { ++switches; });
  run.Producer(0).PushStart(1, 1);
  run.Producer(1).PushStart(1, 1);
  run.Producer(0).PushStop();
  run.Producer(1).PushFrame(NumberedFrame(7));  // the next tick moves to channel 1
  ASSERT_TRUE(WaitUntil([&] { return run.FramesOut() == 1; }));
  EXPECT_EQ(switches, 1);
  EXPECT_EQ(run.queued->GetActiveChannelIndex(), 1);
  EXPECT_TRUE(run.Channel(1).GetActive());
  EXPECT_EQ(run.Channel(0).GetActiveStreamsCount(), 0);
  EXPECT_EQ(run.Channel(1).GetActiveStreamsCount(), 1);
}

TEST(QueuedSwitch, ALiveChannelSendsItsLastFrameOnEveryTickAndHoldsOnlyThat) {
  TQueuedSwitchRun run(2);
  run.Channel(0).GetQueuing()->SetPreserveLastFrame(true);  // queuing stays off
  run.Producer(0).PushStart(1, 1);
  run.Producer(1).PushStart(1, 1);
  run.Producer(0).PushFrame(NumberedFrame(5));
  ASSERT_TRUE(WaitUntil([&] { return run.FramesOut() == 1; }));
  for (int tick = 0; tick < 3; ++tick) {  // each frame pushed anywhere is a tick
    run.Producer(1).PushFrame(NumberedFrame(100 + tick));
    ASSERT_TRUE(WaitUntil([&] { return run.FramesOut() == 2 + tick; }));
  }
  EXPECT_EQ(run.Numbers(), (std::vector<int>{5, 5, 5, 5}));
  run.Producer(0).PushFrame(NumberedFrame(6));
  run.Producer(0).PushFrame(NumberedFrame(7));
  EXPECT_EQ(run.Channel(0).GetVideoQueueDepth(), 1);  // only the newest
  ASSERT_TRUE(WaitUntil([&] { return run.Numbers().back() == 7; }));
}

TEST(QueuedSwitch, FlushAndChannelChangesKeepTheCountsWithTheQueues) {
  TQueuedSwitchRun run(2);
  run.queued->SetPaused(true);  // nothing leaves
  run.Producer(0).PushStart(1, 1);
  run.Producer(1).PushStart(1, 1);
  for (int n = 0; n < 3; ++n) run.Producer(1).PushFrame(NumberedFrame(n));
  EXPECT_EQ(run.queued->QueuedVideo(), 3);
  run.Channel(1).Flush();
  EXPECT_EQ(run.queued->QueuedVideo(), 0);
  EXPECT_EQ(run.Channel(1).GetVideoQueueDepth(), 0);
  EXPECT_EQ(run.queued->DroppedFrames(), 3);
  run.queued->SetActiveChannelIndex(9);
  EXPECT_EQ(run.queued->GetActiveChannelIndex(), 1);
  run.Channel(0).SetActive(true);
  EXPECT_EQ(run.queued->GetActiveChannelIndex(), 0);
  run.queued->SetActiveChannelIndex(-3);
  EXPECT_EQ(run.queued->GetActiveChannelIndex(), 0);
  // After the flush channel 0 ends and the switch neither spins nor sends.
  run.Producer(0).PushStop();
  run.queued->SetPaused(false);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(run.FramesOut(), 0);
}

TEST(QueuedSwitch, PausingHoldsTheOutputAndAStreamEndingMeanwhilePlaysOutOnResume) {
  TQueuedSwitchRun run(1);
  run.Producer(0).PushStart(1, 1);
  run.queued->SetPaused(true);
  run.Producer(0).PushFrame(NumberedFrame(1));
  run.Producer(0).PushFrame(NumberedFrame(2));
  run.Producer(0).PushStop();
  EXPECT_EQ(run.output.Names(), (std::vector<std::string>{"start-frame", "pause"}));
  run.queued->SetPaused(false);
  EXPECT_EQ(run.output.Names(), (std::vector<std::string>{"start-frame", "pause", "resume", "supplied-buffer",
                                                          "supplied-buffer", "stop"}));
}

TEST(QueuedSwitch, StopDropsWhatIsQueuedAndCountsIt) {
  TQueuedSwitchRun run(2);
  run.Producer(0).PushStart(1, 1);
  run.Producer(1).PushStart(1, 1);
  for (int n = 0; n < 4; ++n) run.Producer(1).PushFrame(NumberedFrame(n));
  run.queued->Stop();
  EXPECT_EQ(run.output.Names().back(), "stop");
  EXPECT_EQ(run.queued->QueuedVideo(), 0);
  EXPECT_EQ(run.queued->DroppedFrames(), 4);
}

TEST(QueuedSwitch, PumpedFromDownstreamItPacesTheStreamAndPumpsItsChannels) {
  TQueuedSwitchRun run(1);
  run.output.Pump();  // downstream pumps: the switch becomes the pump master
  EXPECT_TRUE(run.queued->IsClockDriven());
  run.Producer(0).PushStart(1, 1, 200);  // a 5 ms frame period
  for (int n = 0; n < 3; ++n) run.Producer(0).PushFrame(NumberedFrame(n));
  ASSERT_TRUE(WaitUntil([&] { return run.FramesOut() == 3; }));  // one per tick of its clock
  // With fewer than ThresholdMin frames queued, each tick asks for more.
  ASSERT_TRUE(WaitUntil([&] { return run.Producer(0).RequestsReceived() >= 2; }));
  run.Producer(0).PushStop();
  EXPECT_FALSE(run.queued->IsClockDriven());
}

// An audio source and sink for the switch's audio pins.
struct TAudioEnds : TComponent, IPMPinDispatcher {
  TAudioEnds() : TComponent(nullptr), source(this, *this), sink(this, *this) {}
  ~TAudioEnds() override {
    source.Retire();
    sink.Retire();
  }
  bool SinkDispatch(TPMSinkPin&, const TPMOperation& op) override {
    std::lock_guard guard(mutex);
    received.emplace_back(op->Name());
    return true;
  }
  bool SourceDispatch(TPMSourcePin&, const TPMOperation&) override { return false; }
  std::vector<std::string> Received() {
    std::lock_guard guard(mutex);
    return received;
  }
  TTBAudioSourcePin source;
  TTBAudioSinkPin sink;
  std::mutex mutex;
  std::vector<std::string> received;
};

TEST(QueuedSwitch, AudioTravelsBesideTheVideoOfTheActiveChannel) {
  TQueuedSwitchRun run(1);
  TAudioEnds audio;
  audio.source.Connect(*run.Channel(0).GetAudioInputPin());
  run.queued->GetAudioOutputPin()->Connect(audio.sink);
  run.queued->SetPaused(true);  // let both queues fill first
  run.Producer(0).PushStart(1, 1);
  audio.source.SendStartWave(MakePcmWaveFormat(2, 48000, 16), 333333);
  EXPECT_EQ(run.Channel(0).GetActiveStreamsCount(), 2);
  for (int n = 0; n < 2; ++n) {
    run.Producer(0).PushFrame(NumberedFrame(n));
    audio.source.SendAudio(std::make_shared<TTBAudioBuffer>(1600, 2, 16, 48000));
  }
  EXPECT_EQ(run.queued->QueuedAudio(), 2);
  run.Producer(0).PushStop();
  audio.source.SendStop();
  run.queued->SetPaused(false);  // plays out both queues, then stops both outputs
  // The pause came before the audio stream: only the resume reaches it.
  EXPECT_EQ(audio.Received(),
            (std::vector<std::string>{"start-wave", "resume", "supplied-buffer", "supplied-buffer", "stop"}));
  EXPECT_EQ(run.FramesOut(), 2);
  EXPECT_EQ(run.Channel(0).GetActiveStreamsCount(), 0);
}

TEST(QueuedSwitch, AfterStopFramesAreDroppedUntilAChannelStartsAgain) {
  TQueuedSwitchRun run(1);
  run.Producer(0).PushStart(1, 1);
  run.queued->Stop();
  run.Producer(0).PushFrame(NumberedFrame(1));
  EXPECT_EQ(run.queued->QueuedVideo(), 0);
  EXPECT_EQ(run.queued->DroppedFrames(), 1);
  run.Producer(0).PushStart(1, 1);
  run.Producer(0).PushFrame(NumberedFrame(2));
  run.Producer(0).PushStop();
  EXPECT_EQ(run.Numbers(), std::vector<int>{2});
  EXPECT_EQ(run.output.Names(),
            (std::vector<std::string>{"start-frame", "stop", "start-frame", "supplied-buffer", "stop"}));
}

TEST(QueuedSwitch, PublishesItsChannelsAndTheirPins) {
  TQueuedSwitchRun run(2);
  EXPECT_EQ(run.queued->GetInputPins()->GetCount(), 2);
  EXPECT_EQ(run.queued->GetAudioInputPins()->GetPin(1), run.Channel(1).GetAudioInputPin());
  SetPropertyText(run.Channel(1), "Queuing.Enabled", "True");
  EXPECT_TRUE(run.Channel(1).Queuing().GetEnabled());
  EXPECT_EQ(GetPropertyText(run.Channel(0), "ThresholdMax"), "100");
  EXPECT_EQ(GetPropertyText(run.Channel(0), "ThresholdMin"), "30");
  run.queued->GetInputChannels()->Delete(0);
  EXPECT_EQ(run.queued->GetInputPins()->GetCount(), 1);
}

}  // namespace
}  // namespace fc
