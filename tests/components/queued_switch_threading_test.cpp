// The playlist switch with producers on several threads (run under
// ThreadSanitizer): nothing lost or reordered, property changes while
// frames flow, and stopping or destroying it while its queues are full.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/components/queued_switch_support.h"

namespace fc {
namespace {

using test::NumberedFrame;
using test::TQueuedSwitchRun;
using test::WaitUntil;

constexpr int kChannels = 3;
constexpr int kFramesEach = 300;

TEST(QueuedSwitchThreads, ProducersOnSeveralThreadsLoseAndReorderNothing) {
  TQueuedSwitchRun run(kChannels);
  run.Channel(1).GetQueuing()->SetEnabled(true);
  for (int c = 0; c < kChannels; ++c) run.Producer(c).PushStart(1, 1);
  std::vector<std::thread> producers;
  for (int c = 0; c < kChannels; ++c)
    producers.emplace_back([&run, c] {
      for (int i = 0; i < kFramesEach; ++i) run.Producer(c).PushFrame(NumberedFrame(c * 1000 + i));
      run.Producer(c).PushStop();
    });
  for (auto& p : producers) p.join();
  // The last stop played everything out: channel by channel, in order.
  std::vector<int> expected;
  for (int c = 0; c < kChannels; ++c)
    for (int i = 0; i < kFramesEach; ++i) expected.push_back(c * 1000 + i);
  EXPECT_EQ(run.Numbers(), expected);
  EXPECT_EQ(run.output.Names().back(), "stop");
  EXPECT_EQ(run.queued->DroppedFrames(), 0);
  EXPECT_EQ(run.queued->QueuedVideo(), 0);
}

TEST(QueuedSwitchThreads, PropertyChangesWhileFramesFlowKeepCountsAndQueuesTogether) {
  TQueuedSwitchRun run(kChannels);
  for (int c = 0; c < kChannels; ++c) run.Producer(c).PushStart(1, 1);
  std::atomic<bool> producing{true};
  std::atomic<int> switches{0};
  run.queued->SetOnSwitch([&](TComponent&) { ++switches; });
  std::vector<std::thread> producers;
  for (int c = 0; c < kChannels; ++c)
    producers.emplace_back([&run, c] {
      for (int i = 0; i < kFramesEach; ++i) run.Producer(c).PushFrame(NumberedFrame(i));
    });
  std::thread changer([&] {
    for (int i = 0; producing; ++i) {
      run.queued->SetActiveChannelIndex(i % kChannels);
      run.Channel((i + 1) % kChannels).Flush();
      run.queued->SetPaused(i % 3 == 0);
      run.Channel(i % kChannels).GetQueuing()->SetPreserveLastFrame(i % 2 == 0);
    }
  });
  for (auto& p : producers) p.join();
  producing = false;
  changer.join();
  run.queued->SetPaused(false);
  for (int c = 0; c < kChannels; ++c) run.Producer(c).PushStop();
  int queued = 0;
  for (int c = 0; c < kChannels; ++c) queued += run.Channel(c).GetVideoQueueDepth();
  EXPECT_EQ(run.queued->QueuedVideo(), queued);
  EXPECT_EQ(queued, 0);
  EXPECT_EQ(run.output.Names().back(), "stop");
}

TEST(QueuedSwitchThreads, StoppingAndDestroyingWhileQueuesAreFullNeitherHangsNorLeaks) {
  TQueuedSwitchRun run(2);
  run.queued->SetPaused(true);  // the queues only fill
  for (int c = 0; c < 2; ++c) run.Producer(c).PushStart(1, 1);
  std::atomic<bool> producing{true};
  std::vector<std::thread> producers;
  for (int c = 0; c < 2; ++c)
    producers.emplace_back([&run, &producing, c] {
      for (int i = 0; producing; ++i) run.Producer(c).PushFrame(NumberedFrame(i));
    });
  ASSERT_TRUE(WaitUntil([&] { return run.queued->QueuedVideo() > 200; }));
  run.queued->Stop();
  EXPECT_EQ(run.output.Names().back(), "stop");
  EXPECT_GT(run.queued->DroppedFrames(), 200);
  run.queued.reset();  // producers still pushing into its pins
  producing = false;
  for (auto& p : producers) p.join();
}

TEST(QueuedSwitchThreads, DestroyingAPumpMasterStopsItsClocks) {
  TQueuedSwitchRun run(1);
  run.output.Pump();
  run.Producer(0).PushStart(1, 1, 500);
  std::atomic<bool> producing{true};
  std::thread producer([&] {
    for (int i = 0; producing; ++i) {
      run.Producer(0).PushFrame(NumberedFrame(i));
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  });
  ASSERT_TRUE(WaitUntil([&] { return run.FramesOut() > 5; }));
  run.queued.reset();
  producing = false;
  producer.join();
}

}  // namespace
}  // namespace fc
