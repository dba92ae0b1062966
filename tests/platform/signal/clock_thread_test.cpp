// Clock threads: periodic ticks, signalled ticks, stopping from the handler.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "platform/signal/clock_thread.h"

namespace fc {
namespace {

using namespace std::chrono_literals;

bool WaitFor(const std::atomic<int>& value, int atLeast) {
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (value < atLeast && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(1ms);
  return value >= atLeast;
}

TEST(ClockThread, TicksPeriodicallyUntilStopped) {
  std::atomic<int> ticks{0};
  TWCClockThread clock([&] { ++ticks; });
  clock.Start(2ms);
  EXPECT_TRUE(clock.IsRunning());
  ASSERT_TRUE(WaitFor(ticks, 5));
  clock.Stop();
  const int atStop = ticks;
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(ticks, atStop);
  EXPECT_FALSE(clock.IsRunning());
}

TEST(ClockThread, SignalledClocksTickOncePerSignal) {
  std::atomic<int> ticks{0};
  TWCClockThread clock([&] { ++ticks; });
  clock.Start(0ns);
  for (int i = 0; i < 3; ++i) clock.Signal();
  ASSERT_TRUE(WaitFor(ticks, 3));
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(ticks, 3);  // no ticks of its own
}

TEST(ClockThread, TheHandlerMayStopItsClockAndTheClockMayStartAgain) {
  std::atomic<int> ticks{0};
  TWCClockThread* self = nullptr;
  TWCClockThread clock([&] {
    if (++ticks == 2) self->Stop();
  });
  self = &clock;
  clock.Start(1ms);
  ASSERT_TRUE(WaitFor(ticks, 2));
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(ticks, 2);
  EXPECT_FALSE(clock.IsRunning());
  clock.Start(1ms);
  ASSERT_TRUE(WaitFor(ticks, 3));
}

}  // namespace
}  // namespace fc
