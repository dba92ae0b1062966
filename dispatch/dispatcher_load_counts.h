// dispatcher_load_counts.h - how often a dispatcher unit was initialised and finalised.
// Loading a unit only counts; no entry point is bound or reset by it.
#pragma once

#include <atomic>

namespace fc::dispatch {

struct UnitCounter {
  std::atomic<int> initialised{0};
  std::atomic<int> finalised{0};
};

UnitCounter& dispatcherUnit();      // Fcdispatcher
UnitCounter& convDispatcherUnit();  // Fcconvdispatcher
UnitCounter& resizeDispatcherUnit();  // Fcresizedispatcher

}  // namespace fc::dispatch

// Defines the unit's counter and counts its load and unload.
#define FC_DEFINE_UNIT_COUNTER(accessor)                                  \
  namespace fc::dispatch {                                                \
  UnitCounter& accessor() {                                               \
    static UnitCounter counter;                                           \
    return counter;                                                       \
  }                                                                       \
  }                                                                       \
  namespace {                                                             \
  struct UnitLifetime {                                                   \
    UnitLifetime() { ::fc::dispatch::accessor().initialised++; }          \
    ~UnitLifetime() { ::fc::dispatch::accessor().finalised++; }           \
  } unitLifetime;                                                         \
  }
