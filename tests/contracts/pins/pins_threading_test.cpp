// Locks and connections under concurrent threads. Run these under
// ThreadSanitizer too (ctest label "threading"); a deadlock here ends the
// test program through the threading tests' watchdog.
#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <thread>

#include "contracts/pins/lock.h"
#include "platform/runtime/error.h"
#include "tests/contracts/pins/pin_test_support.h"

namespace fc {
namespace {

TEST(LockThreading, ReadersShareTheLock) {
  TPMObject object;
  std::latch bothInside(2);
  auto reader = [&] {
    auto section = object.ReadLock();
    bothInside.arrive_and_wait();  // would never return if reads excluded each other
  };
  std::thread a(reader), b(reader);
  a.join();
  b.join();
}

// Setters store two values under the write lock while readers check that
// they always see them equal; the counter shows no store was lost.
TEST(LockThreading, WritersExcludeReadersAndEachOther) {
  TPMObject object;
  long first = 0, second = 0;
  std::atomic<bool> torn{false};
  constexpr int kWrites = 20000;
  auto writer = [&] {
    for (int i = 0; i < kWrites; ++i) {
      auto section = object.WriteLock();
      ++first;
      auto nested = object.WriteLock();
      ++second;
    }
  };
  auto reader = [&] {
    for (int i = 0; i < kWrites; ++i) {
      auto section = object.ReadLock();
      if (first != second) torn = true;
    }
  };
  std::thread w1(writer), w2(writer), r1(reader), r2(reader);
  w1.join();
  w2.join();
  r1.join();
  r2.join();
  EXPECT_FALSE(torn);
  EXPECT_EQ(first, 2L * kWrites);
}

TEST(LockThreading, ASecondConcurrentUpgradeIsRefusedInsteadOfDeadlocking) {
  TPMObject object;
  std::latch bothReading(2);
  std::atomic<int> refused{0}, upgraded{0};
  auto upgrader = [&] {
    object.BeginRead();
    bothReading.arrive_and_wait();
    try {
      auto write = object.WriteLock();
      ++upgraded;
    } catch (const EFCError&) {
      ++refused;
    }
    object.EndRead();
  };
  std::thread a(upgrader), b(upgrader);
  a.join();
  b.join();
  // The first upgrader waits for the second to leave; the second is refused.
  EXPECT_EQ(refused, 1);
  EXPECT_EQ(upgraded, 1);
}

// A stream keeps flowing while another thread connects, disconnects and
// destroys sinks; every delivery reaches a live sink.
TEST(PinThreading, ConnectDisconnectAndDestroyWhileStreaming) {
  test::TRecorder source("Source"), steady("Steady");
  source.output.Connect(steady.input);
  std::atomic<bool> running{true};
  std::thread sender([&] {
    while (running) source.output.Send(MakeOperation<TPMStopOperation>());
  });
  while (steady.Log().empty()) std::this_thread::yield();  // the stream flows
  for (int i = 0; i < 300; ++i) {
    auto transient = std::make_unique<test::TRecorder>("T");
    source.output.Connect(transient->input);
    std::this_thread::yield();
    if (i % 2) source.output.Disconnect(transient->input);
    transient.reset();  // destroying a connected sink waits for its deliveries
  }
  running = false;
  sender.join();
  EXPECT_EQ(source.output.ConnectedSinks(), (std::vector<TPMPin*>{&steady.input}));
}

TEST(PinThreading, ThreadsSendingThroughOnePinLoseNothing) {
  test::TRecorder source("Source"), sink1("Sink1"), sink2("Sink2");
  source.output.Connect(sink1.input);
  source.output.Connect(sink2.input);
  constexpr int kSends = 5000;
  auto send = [&] {
    for (int i = 0; i < kSends; ++i) source.output.Send(MakeOperation<TPMStopOperation>());
  };
  std::thread t1(send), t2(send);
  t1.join();
  t2.join();
  EXPECT_EQ(sink1.Log().size(), std::size_t{2 * kSends});
  EXPECT_EQ(sink2.Log().size(), std::size_t{2 * kSends});
}

}  // namespace
}  // namespace fc
