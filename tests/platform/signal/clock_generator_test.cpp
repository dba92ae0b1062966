// Clock generators and the main-thread notifier.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <limits>
#include <memory>
#include <thread>

#include "platform/runtime/error.h"
#include "platform/signal/clock_generator.h"
#include "platform/signal/main_thread_notifier.h"

namespace fc {
namespace {

using namespace std::chrono_literals;

TEST(ClockGenerator, TicksAtItsPeriodUntilDestroyed) {
  std::atomic<int> ticks{0};
  const auto begin = std::chrono::steady_clock::now();
  {
    TWCClockGenItem clock(5.0, [&] { ++ticks; });
    EXPECT_TRUE(clock.IsRunning());
    while (ticks < 10 && std::chrono::steady_clock::now() - begin < 5s) std::this_thread::sleep_for(1ms);
  }
  const auto elapsed = std::chrono::steady_clock::now() - begin;
  const int atEnd = ticks;
  EXPECT_GE(atEnd, 10);
  EXPECT_GE(elapsed, 45ms);  // ten ticks of 5 ms cannot come sooner
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(ticks, atEnd);  // no tick after destruction
}

TEST(ClockGenerator, RefusesPeriodsThatAreNoDuration) {
  for (double bad : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                     1e300})
    EXPECT_THROW(TWCClockGenItem(bad, [] {}), EFCError) << bad;
}

TEST(MainThreadNotifier, SignalsFromOtherThreadsRunOnceOnTheMainThread) {
  const auto mainThread = std::this_thread::get_id();
  int runs = 0;
  bool onMain = true;
  TWCMainThreadNotifier notifier([&] {
    ++runs;
    onMain = onMain && std::this_thread::get_id() == mainThread;
  });
  std::thread other([&] {
    notifier.Signal();
    notifier.Signal();  // merged with the first
  });
  other.join();
  EXPECT_EQ(runs, 0);  // nothing runs until the main thread asks
  EXPECT_EQ(TWCMainThreadNotifier::ProcessMessages(), 1u);
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(onMain);
  EXPECT_EQ(TWCMainThreadNotifier::ProcessMessages(), 0u);
}

TEST(MainThreadNotifier, ADestroyedNotifierNeverRunsAndMayDestroyItselfFromItsHandler) {
  int runs = 0;
  {
    TWCMainThreadNotifier gone([&] { ++runs; });
    gone.Signal();
  }
  std::unique_ptr<TWCMainThreadNotifier> self;
  self = std::make_unique<TWCMainThreadNotifier>([&] {
    ++runs;
    self.reset();
  });
  self->Signal();
  EXPECT_EQ(TWCMainThreadNotifier::ProcessMessages(), 1u);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(self, nullptr);
}

}  // namespace
}  // namespace fc
