// lock.h - component locks: reentrant read-write locks with scoped sections.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "platform/runtime/components_api.h"

namespace fc {

/// A read-write lock that the holding thread may take again in any mode.
/// Readers share it; a writer has it alone. A thread holding the write lock
/// may read-lock it again; a thread that is the only reader may upgrade to
/// writing. Two readers upgrading at once would wait for each other forever,
/// so the second one gets EFCError instead. Writers waiting keep new readers
/// out (but not readers re-entering), so a stream of readers cannot starve a
/// setter.
class FC_COMPONENTS_API TPMReentrantLock {
public:
  void LockRead();
  void UnlockRead();
  void LockWrite();
  void UnlockWrite();

private:
  int* FindReader(std::thread::id id);

  std::mutex mutex_;
  std::condition_variable changed_;
  std::thread::id writer_;
  int writerDepth_ = 0;
  std::vector<std::pair<std::thread::id, int>> readers_;
  int waitingWriters_ = 0;
  bool upgrading_ = false;
};

/// Holds a lock in one mode until it is released or goes out of scope.
class FC_COMPONENTS_API TPMLockSection {
public:
  enum class Mode { Read, Write };

  TPMLockSection(std::shared_ptr<TPMReentrantLock> lock, Mode mode);
  TPMLockSection(TPMLockSection&& other) noexcept
      : lock_(std::move(other.lock_)), mode_(other.mode_) {}
  TPMLockSection& operator=(TPMLockSection&&) = delete;
  TPMLockSection(const TPMLockSection&) = delete;
  ~TPMLockSection() { Release(); }

  /// Releases the lock before the end of the scope; later calls do nothing.
  void Release();

private:
  std::shared_ptr<TPMReentrantLock> lock_;
  Mode mode_;
};

/// The base of lockable objects: every component has one as its component
/// lock. Setters of values read while processing hold `WriteLock()` for the
/// store; per-frame work holds it while it runs. Never call into another
/// component (send on a pin, call its setters) while holding this lock: take
/// what you need, release, then send.
class FC_COMPONENTS_API TPMObject {
public:
  TPMObject() : lock_(std::make_shared<TPMReentrantLock>()) {}
  virtual ~TPMObject() = default;

  [[nodiscard]] TPMLockSection WriteLock() const {
    return TPMLockSection(lock_, TPMLockSection::Mode::Write);
  }
  [[nodiscard]] TPMLockSection ReadLock() const {
    return TPMLockSection(lock_, TPMLockSection::Mode::Read);
  }

  /// Bracket forms of the sections; each Begin needs its End on the same
  /// thread.
  void BeginRead() const { lock_->LockRead(); }
  void EndRead() const { lock_->UnlockRead(); }
  void BeginWrite() const { lock_->LockWrite(); }
  void EndWrite() const { lock_->UnlockWrite(); }

  /// From now on this object uses `other`'s lock, so both are guarded as one.
  /// Call it while neither is locked or streaming (at construction).
  void AddShareLock(const TPMObject& other) { lock_ = other.lock_; }

  /// True when both objects use the same lock.
  bool SharesLockWith(const TPMObject& other) const { return lock_ == other.lock_; }

private:
  std::shared_ptr<TPMReentrantLock> lock_;
};

/// The process-wide lock, for the few places that need all components to
/// agree (for example a master-pump round across channels).
class FC_COMPONENTS_API TPMGlobalLockObject {
public:
  [[nodiscard]] static TPMLockSection WriteLock();
  [[nodiscard]] static TPMLockSection ReadLock();
};

}  // namespace fc
