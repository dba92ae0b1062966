// frame_pool.h - recycled frame memory.
//
// A stream sends frames of one size and format again and again. Allocating a
// fresh block for each costs a system call, a fill and a page fault per page;
// the pool hands a block of a size it has seen before straight back instead,
// so a steady stream allocates, fills and faults nothing per frame.
//
// Frames take their memory from TFCFramePool::Instance() and give it back when
// their last holder goes; nothing else needs to call it. The free blocks are
// bounded in count and bytes: past either bound, the blocks returned longest
// ago are freed, so blocks of a size no longer used do not linger.
#pragma once

#include <cstddef>
#include <mutex>
#include <vector>

#include "dispatch/Fcimagedefs.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// A thread-safe, bounded store of free pixel blocks keyed by byte size.
class FC_COMPONENTS_API TFCFramePool {
public:
  /// Alignment of every block (a cache line, more than any vector load needs).
  static constexpr std::size_t kAlignment = 64;
  static constexpr std::size_t kDefaultMaxFreeBlocks = 32;
  static constexpr std::size_t kDefaultMaxFreeBytes = std::size_t{256} << 20;

  struct TStatistics {
    std::size_t freeBlocks = 0;  ///< blocks waiting to be reused
    std::size_t freeBytes = 0;   ///< their bytes
    std::size_t allocations = 0; ///< blocks taken from the heap so far
    std::size_t reuses = 0;      ///< requests answered with a free block so far
  };

  /// The process-wide pool the frames use. It is never destroyed, so frames
  /// held in static objects may give their blocks back at exit.
  static TFCFramePool& Instance();

  TFCFramePool() = default;
  ~TFCFramePool();
  TFCFramePool(const TFCFramePool&) = delete;
  TFCFramePool& operator=(const TFCFramePool&) = delete;

  /// A block of `size` (> 0) bytes, contents unspecified: the free block of
  /// that size returned last, else a new one. Throws std::bad_alloc.
  Ipp8u* Acquire(std::size_t size);
  /// Takes back a block from Acquire of this pool, with its size. The caller
  /// must no longer use it.
  void Release(Ipp8u* block, std::size_t size) noexcept;
  /// Sets the bounds of the free blocks (and frees what lies beyond them).
  void SetLimits(std::size_t maxFreeBlocks, std::size_t maxFreeBytes);
  /// Frees every free block.
  void Trim();
  TStatistics Statistics() const;

private:
  struct TBlock {
    Ipp8u* bytes;
    std::size_t size;
  };
  // Under mutex_: frees the oldest free blocks beyond the bounds.
  void FreeExcess() noexcept;
  static void FreeBlock(Ipp8u* bytes) noexcept;

  mutable std::mutex mutex_;
  std::vector<TBlock> free_;  // oldest first
  std::size_t freeBytes_ = 0;
  std::size_t maxFreeBlocks_ = kDefaultMaxFreeBlocks;
  std::size_t maxFreeBytes_ = kDefaultMaxFreeBytes;
  std::size_t allocations_ = 0;
  std::size_t reuses_ = 0;
};

}  // namespace fc
