// buffer_queue.cpp - the byte-block queue.
#include "contracts/video/buffer_queue.h"

namespace fc {

bool TFCDSBufferQueue::Add(std::span<const std::uint8_t> bytes, const TPMTimeStamps& stamps, std::uint32_t flags) {
  // Copy outside the lock: the producer's bytes may be large.
  TFCDSBufferBlock block{std::vector<std::uint8_t>(bytes.begin(), bytes.end()), stamps, flags};
  std::lock_guard guard(mutex_);
  if (block.bytes.size() > byteLimit_) {
    ++droppedBlocks_;
    droppedBytes_ += block.bytes.size();
    return false;
  }
  MakeRoom(block.bytes.size());
  bytes_ += block.bytes.size();
  blocks_.push_back(std::move(block));
  return true;
}

std::optional<TFCDSBufferBlock> TFCDSBufferQueue::Take() {
  std::lock_guard guard(mutex_);
  if (blocks_.empty()) return std::nullopt;
  TFCDSBufferBlock block = std::move(blocks_.front());
  blocks_.pop_front();
  bytes_ -= block.bytes.size();
  return block;
}

std::size_t TFCDSBufferQueue::Clear() {
  std::lock_guard guard(mutex_);
  const std::size_t count = blocks_.size();
  blocks_.clear();
  bytes_ = 0;
  return count;
}

std::size_t TFCDSBufferQueue::Count() const {
  std::lock_guard guard(mutex_);
  return blocks_.size();
}

std::size_t TFCDSBufferQueue::Bytes() const {
  std::lock_guard guard(mutex_);
  return bytes_;
}

void TFCDSBufferQueue::SetByteLimit(std::size_t byteLimit) {
  std::lock_guard guard(mutex_);
  byteLimit_ = byteLimit;
  MakeRoom(0);
}

std::size_t TFCDSBufferQueue::ByteLimit() const {
  std::lock_guard guard(mutex_);
  return byteLimit_;
}

std::uint64_t TFCDSBufferQueue::DroppedBlocks() const {
  std::lock_guard guard(mutex_);
  return droppedBlocks_;
}

std::uint64_t TFCDSBufferQueue::DroppedBytes() const {
  std::lock_guard guard(mutex_);
  return droppedBytes_;
}

void TFCDSBufferQueue::ResetDropped() {
  std::lock_guard guard(mutex_);
  droppedBlocks_ = 0;
  droppedBytes_ = 0;
}

void TFCDSBufferQueue::MakeRoom(std::size_t incoming) {
  while (!blocks_.empty() && bytes_ + incoming > byteLimit_) {
    const std::size_t size = blocks_.front().bytes.size();
    blocks_.pop_front();
    bytes_ -= size;
    ++droppedBlocks_;
    droppedBytes_ += size;
  }
}

}  // namespace fc
