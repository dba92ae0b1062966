#include "platform/media/reference_clock.h"

namespace fc::media {

namespace {
constexpr std::int64_t kNanosecondsPerUnit = 100;
}  // namespace

TDSReferenceClock::TDSReferenceClock() : origin_(Clock::now()) {
  thread_ = std::thread([this] { Run(); });
}

TDSReferenceClock::~TDSReferenceClock() {
  {
    std::lock_guard guard(mutex_);
    ending_ = true;
    pending_.clear();
  }
  changed_.notify_all();
  thread_.join();
}

std::int64_t TDSReferenceClock::GetTime() const {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - origin_).count() / kNanosecondsPerUnit;
}

TDSReferenceClock::Clock::time_point TDSReferenceClock::PointOf(std::int64_t time) const {
  return origin_ + std::chrono::nanoseconds(time * kNanosecondsPerUnit);
}

std::uint64_t TDSReferenceClock::AdviseTime(std::int64_t baseTime, std::int64_t streamTime, TRelease release) {
  std::lock_guard guard(mutex_);
  const std::uint64_t cookie = nextCookie_++;
  pending_.emplace(baseTime + streamTime, TAdvise{cookie, std::move(release)});
  changed_.notify_all();
  return cookie;
}

bool TDSReferenceClock::Unadvise(std::uint64_t cookie) {
  std::unique_lock guard(mutex_);
  for (auto at = pending_.begin(); at != pending_.end(); ++at) {
    if (at->second.cookie != cookie) continue;
    pending_.erase(at);
    return true;
  }
  // A release running on another thread finishes before we return.
  if (std::this_thread::get_id() != thread_id_) changed_.wait(guard, [&] { return firing_ != cookie; });
  return false;
}

void TDSReferenceClock::Run() {
  std::unique_lock guard(mutex_);
  thread_id_ = std::this_thread::get_id();
  while (!ending_) {
    if (pending_.empty()) {
      changed_.wait(guard);
      continue;
    }
    const auto due = pending_.begin();
    if (Clock::now() < PointOf(due->first)) {
      changed_.wait_until(guard, PointOf(due->first));
      continue;  // an earlier advise may have come, or this one gone
    }
    TAdvise advise = std::move(due->second);
    pending_.erase(due);
    firing_ = advise.cookie;
    guard.unlock();
    advise.release();
    guard.lock();
    firing_ = 0;
    changed_.notify_all();
  }
}

}  // namespace fc::media
