// Component locks: reentrancy in every mode, sections, shared locks, the
// global lock, and what a second thread may take meanwhile.
#include <gtest/gtest.h>

#include <functional>
#include <future>
#include <thread>

#include "contracts/pins/lock.h"

namespace fc {
namespace {

using namespace std::chrono_literals;

// Another thread that takes a lock and releases it at once.
class LockAttempt {
public:
  explicit LockAttempt(std::function<TPMLockSection()> take)
      : done_(got_.get_future()), thread_([this, take] {
          auto section = take();
          got_.set_value();
        }) {}
  ~LockAttempt() { thread_.join(); }
  bool SucceedsWithin(std::chrono::milliseconds wait) {
    return done_.wait_for(wait) == std::future_status::ready;
  }

private:
  std::promise<void> got_;
  std::future<void> done_;
  std::thread thread_;
};

std::function<TPMLockSection()> Writing(const TPMObject& object) {
  return [&object] { return object.WriteLock(); };
}
std::function<TPMLockSection()> Reading(const TPMObject& object) {
  return [&object] { return object.ReadLock(); };
}

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
  EXPECT_TRUE(LockAttempt(Writing(object)).SucceedsWithin(5s));
}

TEST(Locks, SectionsHoldUntilReleasedOrScopeEnd) {
  TPMObject object;
  auto section = object.WriteLock();
  {
    LockAttempt other(Writing(object));
    EXPECT_FALSE(other.SucceedsWithin(50ms));
    section.Release();
    EXPECT_TRUE(other.SucceedsWithin(5s));
  }
  section.Release();  // a second release does nothing
  object.BeginRead();
  {
    LockAttempt other(Writing(object));
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
  LockAttempt other(Writing(part));
  EXPECT_FALSE(other.SucceedsWithin(50ms));
  section.Release();
  EXPECT_TRUE(other.SucceedsWithin(5s));
}

TEST(Locks, AWaitingWriterKeepsNewReadersOutButNotReadersReentering) {
  TPMObject object;
  object.BeginRead();
  LockAttempt writer(Writing(object));
  EXPECT_FALSE(writer.SucceedsWithin(100ms));  // and is waiting by now
  LockAttempt reader(Reading(object));
  EXPECT_FALSE(reader.SucceedsWithin(50ms)) << "a new reader overtook the waiting writer";
  object.BeginRead();  // this thread already reads: it may enter again
  object.EndRead();
  object.EndRead();
  EXPECT_TRUE(writer.SucceedsWithin(5s));
  EXPECT_TRUE(reader.SucceedsWithin(5s));
}

TEST(Locks, TheGlobalLockIsReentrantAndExcludesOtherThreads) {
  auto write = TPMGlobalLockObject::WriteLock();
  auto read = TPMGlobalLockObject::ReadLock();
  auto again = TPMGlobalLockObject::WriteLock();
  LockAttempt other([] { return TPMGlobalLockObject::ReadLock(); });
  EXPECT_FALSE(other.SucceedsWithin(50ms));
  again.Release();
  read.Release();
  EXPECT_FALSE(other.SucceedsWithin(20ms)) << "released before the outermost section";
  write.Release();
  EXPECT_TRUE(other.SucceedsWithin(5s));
}

}  // namespace
}  // namespace fc
