// The reference clock: advises fire once, at absolute times, in deadline
// order, and can be cancelled.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/media/reference_clock.h"

namespace fc::media {
namespace {

constexpr std::int64_t kMs = 10'000;  // 100-ns units in a millisecond

// Collects the order in which releases ran and the clock time they ran at.
struct TFired {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<int> order;
  std::vector<std::int64_t> times;

  TDSReferenceClock::TRelease Release(TDSReferenceClock& clock, int id) {
    return [this, &clock, id] {
      std::lock_guard guard(mutex);
      order.push_back(id);
      times.push_back(clock.GetTime());
      changed.notify_all();
    };
  }
  bool WaitFor(std::size_t count) {
    std::unique_lock guard(mutex);
    return changed.wait_for(guard, std::chrono::seconds(5), [&] { return order.size() >= count; });
  }
};

TEST(ReferenceClock, AdvisesFireInDeadlineOrderNotBeforeTheirTime) {
  TDSReferenceClock clock;
  TFired fired;
  const std::int64_t base = clock.GetTime();
  clock.AdviseTime(base, 30 * kMs, fired.Release(clock, 3));
  clock.AdviseTime(base, 10 * kMs, fired.Release(clock, 1));
  clock.AdviseTime(base, 20 * kMs, fired.Release(clock, 2));
  clock.AdviseTime(base - 50 * kMs, 0, fired.Release(clock, 0));  // already due
  ASSERT_TRUE(fired.WaitFor(4));
  EXPECT_EQ(fired.order, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_GE(fired.times[1], base + 10 * kMs);
  EXPECT_GE(fired.times[3], base + 30 * kMs);
}

TEST(ReferenceClock, UnadviseCancelsAPendingAdviseOnly) {
  TDSReferenceClock clock;
  TFired fired;
  const std::int64_t base = clock.GetTime();
  const auto late = clock.AdviseTime(base, 10'000 * kMs, fired.Release(clock, 1));
  const auto soon = clock.AdviseTime(base, 0, fired.Release(clock, 2));
  ASSERT_TRUE(fired.WaitFor(1));
  EXPECT_FALSE(clock.Unadvise(soon));  // fired already
  EXPECT_TRUE(clock.Unadvise(late));
  EXPECT_FALSE(clock.Unadvise(late));
  EXPECT_FALSE(clock.Unadvise(12345));
  EXPECT_EQ(fired.order, std::vector<int>{2});
}

// Re-arming from the previous deadline, as a pacing loop does: the n-th
// tick is due at base + n periods however late the ones before it ran.
TEST(ReferenceClock, ChainedAdvisesFromThePreviousDeadlineDoNotDrift) {
  TDSReferenceClock clock;
  constexpr int kTicks = 20;
  constexpr std::int64_t kPeriod = 10 * kMs;
  std::mutex mutex;
  std::condition_variable done;
  int ticks = 0;
  std::int64_t lastTime = 0;
  const std::int64_t base = clock.GetTime();
  std::function<void()> tick = [&] {
    std::lock_guard guard(mutex);
    ++ticks;
    if (ticks == 1) std::this_thread::sleep_for(std::chrono::milliseconds(25));  // a late handler
    if (ticks < kTicks) {
      clock.AdviseTime(base, ticks * kPeriod, tick);
    } else {
      lastTime = clock.GetTime();
      done.notify_all();
    }
  };
  clock.AdviseTime(base, 0, tick);
  std::unique_lock guard(mutex);
  ASSERT_TRUE(done.wait_for(guard, std::chrono::seconds(10), [&] { return ticks == kTicks; }));
  EXPECT_GE(lastTime - base, (kTicks - 1) * kPeriod);
  // Generous for a loaded machine; drift from the late handler would add
  // its 25 ms to every later tick's schedule, not just delay one.
  EXPECT_LT(lastTime - base, (kTicks - 1) * kPeriod + 150 * kMs);
}

TEST(ReferenceClock, DestroyedWithAdvisesPendingCallsNone) {
  std::atomic<int> calls{0};
  {
    TDSReferenceClock clock;
    for (int i = 0; i < 10; ++i) clock.AdviseTime(clock.GetTime(), 10'000 * kMs, [&] { ++calls; });
  }
  EXPECT_EQ(calls.load(), 0);
}

}  // namespace
}  // namespace fc::media
