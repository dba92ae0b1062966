// Operation lists: order, peeking, keeping only the newest, and many
// producers with one consumer losing nothing.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/signal/operation_list.h"

namespace fc {
namespace {

TPMOperation Real(double v) { return MakeOperation<TPMSuppliedRealOperation>(v); }
double ValueOf(const TPMOperation& op) { return op->As<TPMSuppliedRealOperation>()->Value(); }

TEST(OperationList, PopsInArrivalOrderAndPeekLeavesTheEntry) {
  TWCOperationList list;
  EXPECT_EQ(list.Pop(), nullptr);
  EXPECT_EQ(list.Peek(), nullptr);
  EXPECT_EQ(list.Push(Real(1)), 1u);
  EXPECT_EQ(list.Push(Real(2)), 2u);
  EXPECT_EQ(ValueOf(list.Peek()), 1);
  EXPECT_EQ(list.Count(), 2u);
  EXPECT_EQ(ValueOf(list.Pop()), 1);
  EXPECT_EQ(ValueOf(list.Pop()), 2);
  EXPECT_EQ(list.Count(), 0u);
}

TEST(OperationList, ReplaceAllKeepsOnlyTheNewestAndClearCounts) {
  TWCOperationList list;
  list.Push(Real(1));
  list.Push(Real(2));
  EXPECT_EQ(list.ReplaceAll(Real(3)), 2u);
  EXPECT_EQ(list.Count(), 1u);
  EXPECT_EQ(ValueOf(list.Peek()), 3);
  EXPECT_EQ(list.ReplaceAll(Real(4)), 1u);
  EXPECT_EQ(list.Clear(), 1u);
  EXPECT_EQ(list.Clear(), 0u);
}

TEST(OperationList, ProducersOnSeveralThreadsLoseNothing) {
  TWCOperationList list;
  constexpr int kThreads = 4, kEach = 2000;
  std::vector<std::thread> producers;
  for (int t = 0; t < kThreads; ++t)
    producers.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i) list.Push(Real(t * kEach + i));
    });
  std::vector<int> seen(kThreads * kEach, 0);
  int popped = 0;
  while (popped < kThreads * kEach)
    if (TPMOperation op = list.Pop()) {
      ++seen[static_cast<std::size_t>(ValueOf(op))];
      ++popped;
    }
  for (auto& p : producers) p.join();
  for (int count : seen) ASSERT_EQ(count, 1);
  EXPECT_EQ(list.Count(), 0u);
}

}  // namespace
}  // namespace fc
