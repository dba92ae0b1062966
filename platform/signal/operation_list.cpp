#include "platform/signal/operation_list.h"

#include <utility>

namespace fc {

std::size_t TWCOperationList::Push(TPMOperation operation) {
  std::lock_guard guard(mutex_);
  entries_.push_back(std::move(operation));
  return entries_.size();
}

std::size_t TWCOperationList::ReplaceAll(TPMOperation operation) {
  std::deque<TPMOperation> dropped;  // released after the mutex
  std::lock_guard guard(mutex_);
  dropped.swap(entries_);
  entries_.push_back(std::move(operation));
  return dropped.size();
}

TPMOperation TWCOperationList::Pop() {
  std::lock_guard guard(mutex_);
  if (entries_.empty()) return nullptr;
  TPMOperation oldest = std::move(entries_.front());
  entries_.pop_front();
  return oldest;
}

TPMOperation TWCOperationList::Peek() const {
  std::lock_guard guard(mutex_);
  return entries_.empty() ? nullptr : entries_.front();
}

std::size_t TWCOperationList::Count() const {
  std::lock_guard guard(mutex_);
  return entries_.size();
}

std::size_t TWCOperationList::Clear() {
  std::deque<TPMOperation> dropped;
  std::lock_guard guard(mutex_);
  dropped.swap(entries_);
  return dropped.size();
}

}  // namespace fc
