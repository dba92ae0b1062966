#include "contracts/pins/lock.h"

#include <algorithm>

#include "platform/runtime/error.h"

namespace fc {

int* TPMReentrantLock::FindReader(std::thread::id id) {
  for (auto& [thread, count] : readers_)
    if (thread == id) return &count;
  return nullptr;
}

void TPMReentrantLock::LockRead() {
  const auto self = std::this_thread::get_id();
  std::unique_lock guard(mutex_);
  if (writerDepth_ > 0 && writer_ == self) {
    ++writerDepth_;  // a read inside our own write section
    return;
  }
  if (int* count = FindReader(self)) {
    ++*count;  // re-entering never waits, even for a waiting writer
    return;
  }
  changed_.wait(guard, [&] { return writerDepth_ == 0 && waitingWriters_ == 0; });
  readers_.emplace_back(self, 1);
}

void TPMReentrantLock::UnlockRead() {
  const auto self = std::this_thread::get_id();
  std::lock_guard guard(mutex_);
  if (writerDepth_ > 0 && writer_ == self) {
    if (--writerDepth_ == 0) {
      writer_ = {};
      changed_.notify_all();
    }
    return;
  }
  int* count = FindReader(self);
  if (!count) return;  // not held: nothing to release
  if (--*count == 0) {
    std::erase_if(readers_, [&](const auto& r) { return r.first == self; });
    changed_.notify_all();
  }
}

void TPMReentrantLock::LockWrite() {
  const auto self = std::this_thread::get_id();
  std::unique_lock guard(mutex_);
  if (writerDepth_ > 0 && writer_ == self) {
    ++writerDepth_;
    return;
  }
  const bool upgrade = FindReader(self) != nullptr;
  if (upgrade) {
    if (upgrading_) throw EFCError("Two threads upgrade the same read lock to a write lock");
    upgrading_ = true;
  }
  ++waitingWriters_;
  changed_.wait(guard, [&] {
    const std::size_t othersReading = readers_.size() - (upgrade ? 1 : 0);
    return writerDepth_ == 0 && othersReading == 0;
  });
  --waitingWriters_;
  if (upgrade) upgrading_ = false;
  writer_ = self;
  writerDepth_ = 1;
}

void TPMReentrantLock::UnlockWrite() {
  const auto self = std::this_thread::get_id();
  std::lock_guard guard(mutex_);
  if (writerDepth_ == 0 || writer_ != self) return;  // not held: nothing to release
  if (--writerDepth_ == 0) {
    writer_ = {};
    changed_.notify_all();
  }
}

TPMLockSection::TPMLockSection(std::shared_ptr<TPMReentrantLock> lock, Mode mode)
    : lock_(std::move(lock)), mode_(mode) {
  if (mode_ == Mode::Write)
    lock_->LockWrite();
  else
    lock_->LockRead();
}

void TPMLockSection::Release() {
  if (!lock_) return;
  if (mode_ == Mode::Write)
    lock_->UnlockWrite();
  else
    lock_->UnlockRead();
  lock_.reset();
}

namespace {
const std::shared_ptr<TPMReentrantLock>& GlobalLock() {
  static const auto lock = std::make_shared<TPMReentrantLock>();
  return lock;
}
}  // namespace

TPMLockSection TPMGlobalLockObject::WriteLock() {
  return TPMLockSection(GlobalLock(), TPMLockSection::Mode::Write);
}

TPMLockSection TPMGlobalLockObject::ReadLock() {
  return TPMLockSection(GlobalLock(), TPMLockSection::Mode::Read);
}

}  // namespace fc
