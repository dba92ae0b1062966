// unit_load_counter.h - the load counters of the package's units.
//
// Loading a unit does no work beyond counting: its initialisation decrements
// the unit's counter and its finalisation increments it, so the counter is 0
// while the unit is not loaded and negative while it is (once per load).
#pragma once

#include <atomic>

#include "platform/runtime/components_api.h"

namespace fc {

/// How often a unit was initialised and not yet finalised, negated.
class FC_COMPONENTS_API TUnitCounter {
public:
  constexpr TUnitCounter() = default;
  TUnitCounter(const TUnitCounter&) = delete;
  TUnitCounter& operator=(const TUnitCounter&) = delete;

  void Initialize() { value_.fetch_sub(1, std::memory_order_relaxed); }
  void Finalize() { value_.fetch_add(1, std::memory_order_relaxed); }
  int Value() const { return value_.load(std::memory_order_relaxed); }

private:
  std::atomic<int> value_{0};
};

/// Initialises a unit's counter when constructed and finalises it when
/// destroyed: one static object per unit ties the counting to the time the
/// unit is loaded.
class FC_COMPONENTS_API TUnitLifetime {
public:
  explicit TUnitLifetime(TUnitCounter& counter) : counter_(counter) { counter_.Initialize(); }
  ~TUnitLifetime() { counter_.Finalize(); }
  TUnitLifetime(const TUnitLifetime&) = delete;
  TUnitLifetime& operator=(const TUnitLifetime&) = delete;

private:
  TUnitCounter& counter_;
};

}  // namespace fc

/// Declares the counter of unit `Unit` as `fc::Unit::Counter()`.
#define FC_DECLARE_UNIT(Unit)                      \
  namespace fc::Unit {                             \
  FC_COMPONENTS_API ::fc::TUnitCounter& Counter(); \
  }

/// Defines the counter of unit `Unit` and counts the unit's loading; write it
/// once, in the unit's source file.
#define FC_DEFINE_UNIT(Unit)                                     \
  namespace fc::Unit {                                           \
  ::fc::TUnitCounter& Counter() {                                \
    static constinit ::fc::TUnitCounter counter;                 \
    return counter;                                              \
  }                                                              \
  namespace {                                                    \
  const ::fc::TUnitLifetime unitLifetime(Counter());             \
  }                                                              \
  }
