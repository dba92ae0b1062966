// Component locks on one thread: reentrancy in every mode, sections, shared
// locks. The cross-thread behaviour is in the threading tests.
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "contracts/pins/lock.h"

namespace fc {
namespace {

using namespace std::chrono_literals;

// Another thread that takes the write lock of an object and releases it.
class WriteAttempt {
public:
  explicit WriteAttempt(const TPMObject& object)
      : done_(got_.get_future()), thread_([this, &object] {
          auto section = object.WriteLock();
          got_.set_value();
        }) {}
  ~WriteAttempt() { thread_.join(); }
  bool SucceedsWithin(std::chrono::milliseconds wait) {
    return done_.wait_for(wait) == std::future_status::ready;
  }

private:
  std::promise<void> got_;
  std::future<void> done_;
  std::thread thread_;
};

TEST(Locks, TheHoldingThreadMayReenterInAnyMode) {
  TPMObject object;
  {
    auto write = object.WriteLock();
    auto again = object.WriteLock();
    auto read = object.ReadLock();
    object.BeginRead();
    object.EndRead();
  }
  {
    auto read = object.ReadLock();
    auto again = object.ReadLock();
    auto upgrade = object.WriteLock();  // the only reader may upgrade
  }
  EXPECT_TRUE(WriteAttempt(object).SucceedsWithin(5s));
}

TEST(Locks, SectionsHoldUntilReleasedOrScopeEnd) {
  TPMObject object;
  auto section = object.WriteLock();
  {
    WriteAttempt other(object);
    EXPECT_FALSE(other.SucceedsWithin(50ms));
    section.Release();
    EXPECT_TRUE(other.SucceedsWithin(5s));
  }
  section.Release();  // a second release does nothing
  object.BeginRead();
  {
    WriteAttempt other(object);
    EXPECT_FALSE(other.SucceedsWithin(50ms));
    object.EndRead();
    EXPECT_TRUE(other.SucceedsWithin(5s));
  }
}

TEST(Locks, SharedLocksGuardBothObjects) {
  TPMObject owner, part;
  part.AddShareLock(owner);
  EXPECT_TRUE(part.SharesLockWith(owner));
  auto section = owner.WriteLock();
  WriteAttempt other(part);
  EXPECT_FALSE(other.SucceedsWithin(50ms));
  section.Release();
  EXPECT_TRUE(other.SucceedsWithin(5s));
}

TEST(Locks, GlobalLockIsReentrant) {
  auto write = TPMGlobalLockObject::WriteLock();
  auto read = TPMGlobalLockObject::ReadLock();
  auto again = TPMGlobalLockObject::WriteLock();
  SUCCEED();
}

}  // namespace
}  // namespace fc
