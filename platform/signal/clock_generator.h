// clock_generator.h - a clock that calls a handler at a fixed period.
#pragma once

#include <functional>

#include "platform/runtime/components_api.h"
#include "platform/signal/clock_thread.h"

namespace fc {

/// Calls its handler every `periodMs` milliseconds on a thread of its own,
/// paced against a steady clock, from construction until destruction (or
/// `Stop`). A component that asks for one (a switch pacing its output)
/// owns it and destroys it before anything the handler uses.
class FC_COMPONENTS_API TWCClockGenItem {
public:
  /// Starts ticking; the first tick one period from now. EFCError unless
  /// the period is a finite number of milliseconds above 0.
  TWCClockGenItem(double periodMs, std::function<void()> handler);
  ~TWCClockGenItem() { Stop(); }
  TWCClockGenItem(const TWCClockGenItem&) = delete;
  TWCClockGenItem& operator=(const TWCClockGenItem&) = delete;

  double PeriodMs() const { return periodMs_; }
  /// Stops ticking and waits for a tick in progress (unless called from the
  /// handler itself).
  void Stop() { thread_.Stop(); }
  bool IsRunning() const { return thread_.IsRunning(); }

private:
  double periodMs_;
  TWCClockThread thread_;
};

}  // namespace fc
