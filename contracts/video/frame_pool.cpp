#include "contracts/video/frame_pool.h"

#include <new>

namespace fc {

namespace {

constexpr std::align_val_t kBlockAlignment{TFCFramePool::kAlignment};

}  // namespace

TFCFramePool& TFCFramePool::Instance() {
  static TFCFramePool* const pool = new TFCFramePool;  // never destroyed: see the header
  return *pool;
}

TFCFramePool::~TFCFramePool() { Trim(); }

Ipp8u* TFCFramePool::Acquire(std::size_t size) {
  {
    std::lock_guard lock(mutex_);
    // The newest block of the size: the one most likely still in the cache.
    for (auto it = free_.rbegin(); it != free_.rend(); ++it) {
      if (it->size != size) continue;
      Ipp8u* const bytes = it->bytes;
      free_.erase(std::next(it).base());
      freeBytes_ -= size;
      ++reuses_;
      return bytes;
    }
    ++allocations_;
  }
  return static_cast<Ipp8u*>(::operator new(size, kBlockAlignment));
}

void TFCFramePool::Release(Ipp8u* block, std::size_t size) noexcept {
  if (!block) return;
  std::lock_guard lock(mutex_);
  if (free_.size() == free_.capacity()) {
    try {
      free_.reserve(free_.size() * 2 + 4);
    } catch (const std::bad_alloc&) {
      FreeBlock(block);  // no room to keep it
      return;
    }
  }
  free_.push_back({block, size});
  freeBytes_ += size;
  FreeExcess();
}

void TFCFramePool::FreeExcess() noexcept {
  std::size_t oldest = 0;
  while (oldest < free_.size() && (free_.size() - oldest > maxFreeBlocks_ || freeBytes_ > maxFreeBytes_)) {
    freeBytes_ -= free_[oldest].size;
    FreeBlock(free_[oldest].bytes);
    ++oldest;
  }
  free_.erase(free_.begin(), free_.begin() + static_cast<std::ptrdiff_t>(oldest));
}

void TFCFramePool::FreeBlock(Ipp8u* bytes) noexcept { ::operator delete(bytes, kBlockAlignment); }

void TFCFramePool::SetLimits(std::size_t maxFreeBlocks, std::size_t maxFreeBytes) {
  std::lock_guard lock(mutex_);
  maxFreeBlocks_ = maxFreeBlocks;
  maxFreeBytes_ = maxFreeBytes;
  FreeExcess();
}

void TFCFramePool::Trim() {
  std::lock_guard lock(mutex_);
  for (const TBlock& block : free_) FreeBlock(block.bytes);
  free_.clear();
  freeBytes_ = 0;
}

TFCFramePool::TStatistics TFCFramePool::Statistics() const {
  std::lock_guard lock(mutex_);
  return {free_.size(), freeBytes_, allocations_, reuses_};
}

}  // namespace fc
