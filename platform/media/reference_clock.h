// reference_clock.h - the clock an output device runs on, with advises that
// fire at absolute times.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "platform/runtime/components_api.h"

namespace fc::media {

/// A steady clock counting 100-ns units from its creation, and a thread that
/// calls advise handlers when their time comes.
///
/// An advise is one-shot and absolute: it fires at `baseTime + streamTime`,
/// whenever it was asked for. A pacing loop that re-arms with the previous
/// deadline plus one period therefore never drifts: a late tick delays that
/// tick only, not the ones after it.
class FC_COMPONENTS_API TDSReferenceClock {
public:
  using TRelease = std::function<void()>;

  TDSReferenceClock();
  /// Cancels what is pending and waits for a release in progress.
  ~TDSReferenceClock();
  TDSReferenceClock(const TDSReferenceClock&) = delete;
  TDSReferenceClock& operator=(const TDSReferenceClock&) = delete;

  /// 100-ns units since the clock was made.
  std::int64_t GetTime() const;

  /// Calls `release` once, on the clock's thread, at `baseTime + streamTime`
  /// (at once when that has passed). Returns a cookie for Unadvise, never 0.
  /// A release should only signal (a semaphore, a clock thread): it holds up
  /// every other advise of this clock while it runs.
  std::uint64_t AdviseTime(std::int64_t baseTime, std::int64_t streamTime, TRelease release);

  /// Cancels an advise; once this returns its release is not running and
  /// will not run (unless called from the release itself). False when the
  /// cookie is not pending (already fired, or unknown).
  bool Unadvise(std::uint64_t cookie);

private:
  using Clock = std::chrono::steady_clock;
  struct TAdvise {
    std::uint64_t cookie;
    TRelease release;
  };

  void Run();
  Clock::time_point PointOf(std::int64_t time) const;

  const Clock::time_point origin_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::multimap<std::int64_t, TAdvise> pending_;  // by absolute deadline
  std::uint64_t nextCookie_ = 1;
  std::uint64_t firing_ = 0;  // cookie whose release runs now, 0 when none
  std::thread::id thread_id_;
  bool ending_ = false;
  std::thread thread_;
};

}  // namespace fc::media
