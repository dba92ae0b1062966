// Inputs of a multi-input component delivering on different threads.
#include <gtest/gtest.h>

#include <latch>
#include <thread>

#include "tests/components/multi_input_support.h"

namespace fc {
namespace {

using test::Tagged;
using test::TMultiRun;
using test::TPairingInput;

TEST(MultiInputThreading, InputsOnTwoThreadsGiveOneOrderlyStream) {
  constexpr int kFrames = 400;
  for (bool startOnFirst : {false, true}) {
    TPairingInput multi(startOnFirst);
    TMultiRun run(multi);
    std::latch bothStarted(2);
    auto feed = [&](int input, double rate) {
      run[input].PushStart(1, 1, rate, vfGray8);
      bothStarted.arrive_and_wait();
      for (int i = 1; i <= kFrames; ++i) run[input].PushFrame(Tagged(i % 250 + 1));
      run[input].PushStop();
    };
    std::thread first(feed, 0, 30.0), second(feed, 1, 15.0);
    first.join();
    second.join();

    const std::vector<std::string> names = run.Output().Names();
    ASSERT_GE(names.size(), 2u);
    // Whatever the interleaving: one start before any frame, one stop last.
    EXPECT_EQ(names.front(), "start-frame");
    EXPECT_EQ(names.back(), "stop");
    int open = 0, stops = 0;
    for (const std::string& name : names) {
      if (name == "start-frame") {
        EXPECT_EQ(open, 0);
        open = 1;
      } else if (name == "stop") {
        EXPECT_EQ(open, 1);
        open = 0;
        ++stops;
      } else {
        EXPECT_EQ(open, 1) << name << " outside the stream";
      }
    }
    EXPECT_EQ(open, 0);
    EXPECT_EQ(stops, 1);
    EXPECT_FALSE(multi.IsStarted());
  }
}

}  // namespace
}  // namespace fc
