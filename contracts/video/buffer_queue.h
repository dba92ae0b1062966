// buffer_queue.h - a thread-safe queue of byte blocks with their time stamps,
// between a media thread that produces samples (a reader's callback, a
// codec's output) and the thread that delivers them downstream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "contracts/pins/time_stamps.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// One queued block: a private copy of the producer's bytes, their times
/// and the producer's flags (a compressed chunk's key-frame flag).
struct FC_COMPONENTS_API TFCDSBufferBlock {
  std::vector<std::uint8_t> bytes;
  TPMTimeStamps timeStamps;
  std::uint32_t flags = 0;
};

/// Blocks in arrival order, bounded by the bytes they hold. Every member may
/// be called from any thread; each call is atomic with respect to the others.
///
/// A producer never waits: when a new block would take the queue past its
/// limit, the oldest blocks are dropped to make room (a consumer that falls
/// behind loses the stalest data, not the newest), and a block larger than
/// the whole limit is dropped itself. Every dropped block is counted, so the
/// owner can report the loss.
class FC_COMPONENTS_API TFCDSBufferQueue {
public:
  /// Room for a few seconds of uncompressed multichannel audio.
  static constexpr std::size_t kDefaultByteLimit = std::size_t{16} << 20;

  explicit TFCDSBufferQueue(std::size_t byteLimit = kDefaultByteLimit) : byteLimit_(byteLimit) {}

  /// Copies `bytes` in as the newest block, with `flags`. Returns false when
  /// the block alone exceeds the limit (then nothing is queued and it counts
  /// as dropped).
  bool Add(std::span<const std::uint8_t> bytes, const TPMTimeStamps& stamps, std::uint32_t flags = 0);
  /// Removes and returns the oldest block; empty when there is none.
  std::optional<TFCDSBufferBlock> Take();
  /// Removes every block (not counted as dropped); returns how many there were.
  std::size_t Clear();

  std::size_t Count() const;
  /// Bytes held by the queued blocks.
  std::size_t Bytes() const;

  /// Changes the limit; drops the oldest blocks when the queue now holds more.
  void SetByteLimit(std::size_t byteLimit);
  std::size_t ByteLimit() const;

  /// Blocks and bytes dropped since construction or the last ResetDropped.
  std::uint64_t DroppedBlocks() const;
  std::uint64_t DroppedBytes() const;
  void ResetDropped();

private:
  // Drops the oldest blocks until `incoming` more bytes fit (mutex_ held).
  void MakeRoom(std::size_t incoming);

  mutable std::mutex mutex_;
  std::deque<TFCDSBufferBlock> blocks_;
  std::size_t bytes_ = 0;
  std::size_t byteLimit_;
  std::uint64_t droppedBlocks_ = 0;
  std::uint64_t droppedBytes_ = 0;
};

}  // namespace fc
