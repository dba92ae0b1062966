// The byte-block queue: order, times, and what it drops when it is full.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "contracts/video/buffer_queue.h"

namespace fc {
namespace {

std::vector<std::uint8_t> BlockOf(std::size_t size, std::uint8_t value) {
  return std::vector<std::uint8_t>(size, value);
}

TPMTimeStamps At(std::int64_t begin) { return {begin, begin + 10, true}; }

TEST(BufferQueue, TakesBlocksInOrderWithTheirBytesTimesAndFlags) {
  TFCDSBufferQueue queue;
  EXPECT_FALSE(queue.Take().has_value());
  ASSERT_TRUE(queue.Add(BlockOf(3, 1), At(0), 0x10));
  ASSERT_TRUE(queue.Add(BlockOf(5, 2), At(10)));
  EXPECT_EQ(queue.Count(), 2u);
  EXPECT_EQ(queue.Bytes(), 8u);

  auto first = queue.Take();
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->bytes, BlockOf(3, 1));
  EXPECT_EQ(first->timeStamps, At(0));
  EXPECT_EQ(first->flags, 0x10u);
  auto second = queue.Take();
  ASSERT_TRUE(second.has_value());
  EXPECT_EQ(second->bytes, BlockOf(5, 2));
  EXPECT_EQ(second->timeStamps, At(10));
  EXPECT_EQ(second->flags, 0u);
  EXPECT_EQ(queue.Bytes(), 0u);
  EXPECT_EQ(queue.DroppedBlocks(), 0u);
}

TEST(BufferQueue, DropsTheOldestBlocksToStayWithinItsLimit) {
  TFCDSBufferQueue queue(10);
  for (std::uint8_t i = 0; i < 5; ++i) ASSERT_TRUE(queue.Add(BlockOf(4, i), At(i)));
  // Only two blocks of four fit in ten bytes: the newest two.
  EXPECT_EQ(queue.Count(), 2u);
  EXPECT_EQ(queue.Bytes(), 8u);
  EXPECT_EQ(queue.DroppedBlocks(), 3u);
  EXPECT_EQ(queue.DroppedBytes(), 12u);
  EXPECT_EQ(queue.Take()->bytes, BlockOf(4, 3));
  EXPECT_EQ(queue.Take()->bytes, BlockOf(4, 4));
}

TEST(BufferQueue, RefusesABlockLargerThanTheLimitAndKeepsTheRest) {
  TFCDSBufferQueue queue(10);
  ASSERT_TRUE(queue.Add(BlockOf(4, 1), At(0)));
  EXPECT_FALSE(queue.Add(BlockOf(11, 2), At(1)));
  EXPECT_EQ(queue.Count(), 1u);
  EXPECT_EQ(queue.DroppedBlocks(), 1u);
  EXPECT_EQ(queue.DroppedBytes(), 11u);
  queue.ResetDropped();
  EXPECT_EQ(queue.DroppedBlocks(), 0u);
}

TEST(BufferQueue, LoweringTheLimitDropsTheOldestAndClearIsNoLoss) {
  TFCDSBufferQueue queue(100);
  for (std::uint8_t i = 0; i < 4; ++i) queue.Add(BlockOf(10, i), At(i));
  queue.SetByteLimit(25);
  EXPECT_EQ(queue.Count(), 2u);
  EXPECT_EQ(queue.DroppedBlocks(), 2u);
  EXPECT_EQ(queue.Take()->bytes, BlockOf(10, 2));
  EXPECT_EQ(queue.Clear(), 1u);
  EXPECT_EQ(queue.Bytes(), 0u);
  EXPECT_EQ(queue.DroppedBlocks(), 2u);
}

}  // namespace
}  // namespace fc
