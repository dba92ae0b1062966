// locked_persistent.h - sub-objects guarded by their owner's component lock.
#pragma once

#include "contracts/pins/lock.h"
#include "platform/runtime/components_api.h"
#include "platform/runtime/persistent.h"

namespace fc {

/// A persistent sub-object (a region, a size, an offset) whose values are
/// read while its owner processes frames. Its setters store under the
/// owner's write lock and its getters read under the read lock.
class FC_COMPONENTS_API TPMLockedPersistent : public TOwnedPersistent {
public:
  TPMLockedPersistent(TPersistent* owner, std::string propertyName, const TPMObject& lock)
      : TOwnedPersistent(owner, std::move(propertyName)), lock_(lock) {}

  const TPMObject& Lock() const { return lock_; }

protected:
  /// Stores `value` into `field` under the owner's write lock.
  template <class T> void Store(T& field, const T& value) {
    auto section = lock_.WriteLock();
    field = value;
  }
  /// Reads `field` under the owner's read lock.
  template <class T> T Load(const T& field) const {
    auto section = lock_.ReadLock();
    return field;
  }

private:
  const TPMObject& lock_;
};

}  // namespace fc
