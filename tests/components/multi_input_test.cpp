// The input handling of multi-input components: start, pacing, stop.
#include <gtest/gtest.h>

#include "tests/components/multi_input_support.h"

namespace fc {
namespace {

using test::Pairs;
using test::Tagged;
using test::TMultiRun;
using test::TPairingInput;
using Pair = std::pair<int, int>;

TEST(MultiInput, IsPacedByItsFastestInputAndReusesTheSlowerInputsFrame) {
  TPairingInput multi(false);
  TMultiRun run(multi);
  run[0].PushStart(1, 1, 30, vfGray8);
  run[1].PushStart(1, 1, 15, vfGray8);
  run[1].PushFrame(Tagged(101));
  for (int a = 1; a <= 6; ++a) {
    run[0].PushFrame(Tagged(a));
    if (a % 2 == 0) run[1].PushFrame(Tagged(101 + a / 2));
  }
  // One output per frame of the 30 frames-per-second input.
  EXPECT_EQ(Pairs(run.Output()),
            (std::vector<Pair>{{1, 101}, {2, 101}, {3, 102}, {4, 102}, {5, 103}, {6, 103}}));
}

TEST(MultiInput, AtEqualRatesMakesOneOutputPerCompleteSet) {
  TPairingInput multi(false);
  TMultiRun run(multi);
  run[0].PushStart(1, 1, 25, vfGray8);
  run[1].PushStart(1, 1, 25, vfGray8);
  run[0].PushFrame(Tagged(1));
  run[0].PushFrame(Tagged(2));  // replaces the first: the set is not complete yet
  run[1].PushFrame(Tagged(11));
  run[1].PushFrame(Tagged(12));
  run[0].PushFrame(Tagged(3));
  EXPECT_EQ(Pairs(run.Output()), (std::vector<Pair>{{2, 11}, {3, 12}}));
}

TEST(MultiInput, StartsWhenEveryInputRunsOrWithTheFirstWhenAsked) {
  for (bool startOnFirst : {false, true}) {
    TPairingInput multi(startOnFirst);
    TMultiRun run(multi);
    run[0].PushStart(40, 10, 15, vfGray8);
    EXPECT_EQ(run.Output().LastStart() != nullptr, startOnFirst);
    run[1].PushStart(20, 30, 30, vfGray8);
    const TPMStartFrameOperation* start = run.Output().LastStart();
    ASSERT_NE(start, nullptr);
    if (!startOnFirst) {
      // The largest width, height and rate of the running inputs.
      EXPECT_EQ(start->Width(), 40);
      EXPECT_EQ(start->Height(), 30);
      EXPECT_EQ(start->Rate(), 30);
    }
    EXPECT_EQ(run.Output().Names().size(), 1u) << "one start-frame only";
  }
}

TEST(MultiInput, StopsWhenEveryStartedInputHasStoppedAndSendsNothingAfter) {
  TPairingInput multi(true);
  TMultiRun run(multi);
  run[0].PushStart(1, 1, 30, vfGray8);
  run[1].PushStart(1, 1, 30, vfGray8);
  run[0].PushFrame(Tagged(1));
  run[1].PushFrame(Tagged(11));
  run[0].PushStop();
  // Input 1 goes on alone; its partner's place is empty.
  run[1].PushFrame(Tagged(12));
  EXPECT_EQ(Pairs(run.Output()), (std::vector<Pair>{{1, 11}, {0, 12}}));
  EXPECT_TRUE(multi.IsStarted());
  run[1].PushStop();
  run[1].PushFrame(Tagged(13));
  run[0].PushFrame(Tagged(2));
  EXPECT_EQ(run.Output().Names(), (std::vector<std::string>{"start-frame", "supplied-buffer", "supplied-buffer",
                                                            "stop"}));
  // A new stream starts the output again.
  run[0].PushStart(1, 1, 30, vfGray8);
  run[0].PushFrame(Tagged(3));
  EXPECT_EQ(run.Output().Names().size(), 6u);
  EXPECT_EQ(Pairs(run.Output()).back().first, 3);
}

TEST(MultiInput, InputsThatNeverStartedDoNotHoldTheStopBack) {
  TPairingInput multi(true);
  TMultiRun run(multi);
  run[1].PushStart(1, 1, 30, vfGray8);
  run[1].PushFrame(Tagged(5));
  run[1].PushStop();
  EXPECT_EQ(run.Output().Names(), (std::vector<std::string>{"start-frame", "supplied-buffer", "stop"}));
  EXPECT_FALSE(multi.IsStarted());
}

TEST(MultiInput, PassesOtherOperationsOnAndRequestsUpEveryInput) {
  TPairingInput multi(false);
  TMultiRun run(multi);
  run[1].upstream.Send(MakeOperation<TPMPauseOperation>());
  EXPECT_EQ(run.Output().Names(), (std::vector<std::string>{"pause"}));
  run.Output().Pump();
  EXPECT_EQ(run[0].RequestsReceived(), 1);
  EXPECT_EQ(run[1].RequestsReceived(), 1);
}

}  // namespace
}  // namespace fc
