// The frame pool: reuse by size, its bounds, and frames that recycle memory
// while staying black where they must and copy-on-write throughout.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "contracts/video/frame_pool.h"
#include "contracts/video/image_buffer.h"

namespace fc {
namespace {

bool AllBytesAre(const TFCImageBuffer& frame, Ipp8u value) {
  return std::all_of(frame.Read(), frame.Read() + frame.Size(), [&](Ipp8u b) { return b == value; });
}

TEST(FramePool, ReturnsTheNewestFreeBlockOfTheSizeAsked) {
  TFCFramePool pool;
  Ipp8u* a = pool.Acquire(100);
  Ipp8u* b = pool.Acquire(100);
  Ipp8u* other = pool.Acquire(200);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(a) % TFCFramePool::kAlignment, 0u);
  pool.Release(a, 100);
  pool.Release(other, 200);
  pool.Release(b, 100);
  EXPECT_EQ(pool.Acquire(100), b);
  EXPECT_EQ(pool.Acquire(100), a);
  Ipp8u* fresh = pool.Acquire(100);  // none left of that size
  EXPECT_NE(fresh, a);
  EXPECT_NE(fresh, b);
  const auto stats = pool.Statistics();
  EXPECT_EQ(stats.reuses, 2u);
  EXPECT_EQ(stats.allocations, 4u);
  EXPECT_EQ(stats.freeBlocks, 1u);
  EXPECT_EQ(stats.freeBytes, 200u);
  pool.Release(fresh, 100);
  pool.Release(b, 100);
  pool.Release(a, 100);
}

TEST(FramePool, FreesTheOldestBlocksBeyondItsBounds) {
  TFCFramePool pool;
  pool.SetLimits(2, 1000);
  std::vector<Ipp8u*> blocks;
  for (int i = 0; i < 3; ++i) blocks.push_back(pool.Acquire(100));
  for (Ipp8u* block : blocks) pool.Release(block, 100);
  EXPECT_EQ(pool.Statistics().freeBlocks, 2u);  // the first one returned was freed
  Ipp8u* big = pool.Acquire(950);
  pool.Release(big, 950);  // over the byte bound with the others: they go first
  auto stats = pool.Statistics();
  EXPECT_EQ(stats.freeBlocks, 1u);
  EXPECT_EQ(stats.freeBytes, 950u);
  Ipp8u* huge = pool.Acquire(5000);
  pool.Release(huge, 5000);  // larger than the bound alone: never kept
  stats = pool.Statistics();
  EXPECT_EQ(stats.freeBlocks, 0u);
  EXPECT_EQ(stats.freeBytes, 0u);
  pool.SetLimits(TFCFramePool::kDefaultMaxFreeBlocks, TFCFramePool::kDefaultMaxFreeBytes);
  pool.Release(pool.Acquire(10), 10);
  pool.Trim();
  EXPECT_EQ(pool.Statistics().freeBlocks, 0u);
}

TEST(FramePool, AStreamOfFramesOfOneSizeAllocatesOnlyAtItsStart) {
  TFCFramePool& pool = TFCFramePool::Instance();
  const auto before = pool.Statistics().allocations;
  for (int i = 0; i < 50; ++i) {
    auto in = MakeImageBuffer(37, 29);  // a size no other test uses
    std::fill_n(in->Overwrite(), in->Size(), static_cast<Ipp8u>(i));
    TFCImageBuffer out(*in);
    out.Overwrite()[0] = 1;  // detaches: a second block while `in` lives
  }
  EXPECT_LE(pool.Statistics().allocations - before, 2u);
}

// Recycled blocks hold the bytes of earlier frames; whatever a frame is
// defined to start with must still be there.
TEST(FramePool, RecycledFramesStartBlackWhereTheyMust) {
  const auto dirty = [](int w, int h, TFCVideoFormat format) {
    TFCImageBuffer frame(w, h, format);
    std::fill_n(frame.Overwrite(), frame.Size(), Ipp8u{0xAB});
  };
  for (TFCVideoFormat format : {vfRGB24, vfGray8, vfRGB32}) {
    dirty(13, 7, format);
    EXPECT_TRUE(AllBytesAre(TFCImageBuffer(13, 7, format), 0)) << format;
    dirty(13, 7, format);
    EXPECT_TRUE(AllBytesAre(*MakeImageBuffer(13, 7, format), 0)) << format;
  }
  dirty(14, 3, vfYUY2);
  TFCImageBuffer yuy2(14, 3, vfYUY2);
  EXPECT_EQ(yuy2.Modify()[0], 16);
  EXPECT_EQ(yuy2.Read()[1], 128);

  // Write on a shared frame detaches to black; SetSize makes black.
  TFCImageBuffer shared(13, 7);
  std::fill_n(shared.Overwrite(), shared.Size(), Ipp8u{5});
  TFCImageBuffer copy(shared);
  dirty(13, 7, vfRGB24);
  Ipp8u* written = copy.Write();
  EXPECT_TRUE(std::all_of(written, written + copy.Size(), [](Ipp8u b) { return b == 0; }));
  EXPECT_TRUE(AllBytesAre(shared, 5));
  dirty(13, 7, vfRGB24);
  shared.SetSize(13, 7);
  EXPECT_TRUE(AllBytesAre(shared, 0));
}

TEST(FramePool, OverwriteDetachesWithoutTouchingTheSharedPixels) {
  TFCImageBuffer a(6, 4);
  std::fill_n(a.Overwrite(), a.Size(), Ipp8u{9});
  TFCImageBuffer b(a);
  Ipp8u* own = b.Overwrite();
  EXPECT_NE(own, a.Read());
  EXPECT_FALSE(a.IsShared());
  std::fill_n(own, b.Size(), Ipp8u{3});
  EXPECT_TRUE(AllBytesAre(a, 9));
  EXPECT_TRUE(AllBytesAre(b, 3));
  EXPECT_EQ(a.Overwrite(), a.Read());  // the only holder overwrites in place
}

}  // namespace
}  // namespace fc
