// clock_thread.h - a thread that runs a handler on every tick of a clock.
//
// Like the runtime core, this includes only the standard library, so the
// component bases may pace generators with it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/runtime/components_api.h"

namespace fc {

/// Runs `onTick` on its own thread: periodically at a fixed rate, paced
/// against a steady clock so ticks do not drift (a late tick is not made up
/// by a burst), and once more for each `Signal()`. The handler may stop or
/// restart its clock, but must not destroy it, and must not wait for a lock
/// that a caller of `Stop` holds while stopping.
class FC_COMPONENTS_API TWCClockThread {
public:
  explicit TWCClockThread(std::function<void()> onTick) : onTick_(std::move(onTick)) {}
  ~TWCClockThread();
  TWCClockThread(const TWCClockThread&) = delete;
  TWCClockThread& operator=(const TWCClockThread&) = delete;

  /// Starts ticking every `period` (the first tick one period from now); a
  /// period of zero or less ticks on signals only. Restarts a running clock.
  void Start(std::chrono::nanoseconds period);
  /// Asks for one tick as soon as possible.
  void Signal();
  /// Stops ticking and waits for the thread, unless called by the handler
  /// itself (then the thread ends when the handler returns).
  void Stop();
  /// Stops ticking without waiting for the thread, for a caller holding a
  /// lock the handler may be waiting for; the next Start or the destructor
  /// joins the thread.
  void Halt();
  bool IsRunning() const;

private:
  void Run(unsigned generation);
  // Ends the running generation (mutex_ held); false when none runs.
  bool EndGeneration();
  void JoinFinished();

  std::function<void()> onTick_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::thread thread_;
  std::chrono::nanoseconds period_{0};
  int signals_ = 0;
  unsigned generation_ = 0;  // each Start and Stop begins a new one
  bool running_ = false;
};

}  // namespace fc
