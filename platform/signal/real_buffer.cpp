#include "platform/signal/real_buffer.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace fc {

// Samples shared by blocks. The count is released with acquire-release order
// and read with acquire order, so a block that finds itself the only holder
// sees every access of the holders that left.
struct detail::RealStore {
  explicit RealStore(int n) : length(n), samples(std::make_unique_for_overwrite<double[]>(static_cast<std::size_t>(n))) {}
  std::atomic<int> holders{1};
  int length;
  std::unique_ptr<double[]> samples;
};

using Store = detail::RealStore;

namespace {

// Stores whose last holder left, kept by length for the next block of that
// length. Bounded in count and bytes, so a stream that changes its block
// length does not hoard memory: a store that does not fit is freed.
class TRealStorePool {
public:
  static constexpr std::size_t kMaxBlocks = 64;
  static constexpr std::size_t kMaxBytes = std::size_t{64} << 20;

  Store* Take(int length) {
    {
      std::lock_guard guard(mutex_);
      auto found = free_.find(length);
      if (found != free_.end() && !found->second.empty()) {
        Store* store = found->second.back();
        found->second.pop_back();
        --blocks_;
        bytes_ -= BytesOf(length);
        store->holders.store(1, std::memory_order_relaxed);
        return store;
      }
    }
    return new Store(length);
  }

  void Give(Store* store) {
    {
      std::lock_guard guard(mutex_);
      const std::size_t bytes = BytesOf(store->length);
      if (blocks_ < kMaxBlocks && bytes_ + bytes <= kMaxBytes) {
        free_[store->length].push_back(store);
        ++blocks_;
        bytes_ += bytes;
        return;
      }
    }
    delete store;
  }

  TWCRealPoolStats Stats() const {
    std::lock_guard guard(mutex_);
    return {blocks_, bytes_};
  }

private:
  static std::size_t BytesOf(int length) { return static_cast<std::size_t>(length) * sizeof(double); }

  mutable std::mutex mutex_;
  std::unordered_map<int, std::vector<Store*>> free_;
  std::size_t blocks_ = 0;
  std::size_t bytes_ = 0;
};

// Never destroyed: blocks held by static objects may return their samples
// after the end of main.
TRealStorePool& Pool() {
  static TRealStorePool* pool = new TRealStorePool;
  return *pool;
}

Store* NewStore(int length, bool zero) {
  if (length <= 0) return nullptr;
  Store* store = Pool().Take(length);
  if (zero) std::fill_n(store->samples.get(), length, 0.0);
  return store;
}

}  // namespace

TWCRealBuffer::TWCRealBuffer(int length) : length_(std::max(length, 0)), store_(NewStore(length_, true)) {}

TWCRealBuffer::TWCRealBuffer(const TWCRealBuffer& other)
    : IPMDataBuffer(), length_(other.length_), store_(other.store_) {
  if (store_) store_->holders.fetch_add(1, std::memory_order_relaxed);
}

TWCRealBuffer& TWCRealBuffer::operator=(const TWCRealBuffer& other) {
  if (store_ != other.store_) {
    Release();
    store_ = other.store_;
    if (store_) store_->holders.fetch_add(1, std::memory_order_relaxed);
  }
  length_ = other.length_;
  return *this;
}

TWCRealBuffer::~TWCRealBuffer() { Release(); }

void TWCRealBuffer::Release() {
  if (store_ && store_->holders.fetch_sub(1, std::memory_order_acq_rel) == 1) Pool().Give(store_);
  store_ = nullptr;
}

bool TWCRealBuffer::IsShared() const { return store_ && store_->holders.load(std::memory_order_acquire) > 1; }

void TWCRealBuffer::Detach(bool keepSamples) {
  if (!IsShared()) return;
  Store* shared = store_;
  store_ = NewStore(length_, !keepSamples);
  if (keepSamples) std::memcpy(store_->samples.get(), shared->samples.get(), sizeof(double) * length_);
  // The other holders may have left meanwhile: then the samples go back to the pool.
  if (shared->holders.fetch_sub(1, std::memory_order_acq_rel) == 1) Pool().Give(shared);
}

const double* TWCRealBuffer::Read() const { return store_ ? store_->samples.get() : nullptr; }

double* TWCRealBuffer::Write() {
  Detach(false);
  return store_ ? store_->samples.get() : nullptr;
}

double* TWCRealBuffer::Modify() {
  Detach(true);
  return store_ ? store_->samples.get() : nullptr;
}

void TWCRealBuffer::SetLength(int length) {
  Release();
  length_ = std::max(length, 0);
  store_ = NewStore(length_, true);
}

IWCRealBuffer MakeRealBuffer(int length) { return std::make_shared<TWCRealBuffer>(length); }

TWCRealPoolStats RealPoolStats() { return Pool().Stats(); }

}  // namespace fc
