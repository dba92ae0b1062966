// operation_list.h - a thread-safe first-in first-out list of stream
// operations (the queues of a delay line or of a playlist switch's channels).
#pragma once

#include <cstddef>
#include <deque>
#include <mutex>

#include "contracts/pins/operations.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// Operations in arrival order. Every member may be called from any thread;
/// each call is atomic with respect to the others.
///
/// `Push` appends. `ReplaceAll` empties the list and appends, so the list
/// keeps only its newest entry: a consumer that peeks rather than pops (a
/// channel preserving its last frame) uses it so the list never grows
/// without bound.
class FC_COMPONENTS_API TWCOperationList {
public:
  /// Appends `operation`; returns the count after the push.
  std::size_t Push(TPMOperation operation);
  /// Drops every entry and appends `operation`; returns the number dropped.
  std::size_t ReplaceAll(TPMOperation operation);
  /// Removes and returns the oldest entry; null when the list is empty.
  TPMOperation Pop();
  /// The oldest entry, left in the list; null when the list is empty.
  TPMOperation Peek() const;
  std::size_t Count() const;
  /// Removes every entry; returns how many there were.
  std::size_t Clear();

private:
  mutable std::mutex mutex_;
  std::deque<TPMOperation> entries_;
};

}  // namespace fc
