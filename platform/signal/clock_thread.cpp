#include "platform/signal/clock_thread.h"

namespace fc {

TWCClockThread::~TWCClockThread() {
  Stop();
  JoinFinished();
}

// Joins a thread that stopped itself from its handler; the thread must not
// hold the mutex meanwhile, so this runs without it.
void TWCClockThread::JoinFinished() {
  std::thread finished;
  {
    std::lock_guard guard(mutex_);
    finished = std::move(thread_);
  }
  if (!finished.joinable()) return;
  if (finished.get_id() == std::this_thread::get_id())
    finished.detach();  // the handler restarts or destroys its own clock
  else
    finished.join();
}

void TWCClockThread::Start(std::chrono::nanoseconds period) {
  Stop();
  JoinFinished();
  std::lock_guard guard(mutex_);
  period_ = period;
  signals_ = 0;
  running_ = true;
  const unsigned generation = ++generation_;
  thread_ = std::thread([this, generation] { Run(generation); });
}

void TWCClockThread::Signal() {
  std::lock_guard guard(mutex_);
  ++signals_;
  wake_.notify_all();
}

void TWCClockThread::Stop() {
  std::thread finished;
  {
    std::lock_guard guard(mutex_);
    if (!EndGeneration()) return;
    if (thread_.get_id() == std::this_thread::get_id()) return;
    finished = std::move(thread_);
  }
  if (finished.joinable()) finished.join();
}

void TWCClockThread::Halt() {
  std::lock_guard guard(mutex_);
  EndGeneration();
}

bool TWCClockThread::EndGeneration() {
  if (!running_) return false;
  ++generation_;  // the running thread's generation is over
  running_ = false;
  wake_.notify_all();
  return true;
}

bool TWCClockThread::IsRunning() const {
  std::lock_guard guard(mutex_);
  return running_;
}

void TWCClockThread::Run(unsigned generation) {
  using Clock = std::chrono::steady_clock;
  std::unique_lock guard(mutex_);
  auto next = Clock::now() + period_;
  auto stopped = [&] { return generation != generation_; };
  while (!stopped()) {
    const bool periodic = period_.count() > 0;
    auto ready = [&] { return stopped() || signals_ > 0; };
    if (periodic ? wake_.wait_until(guard, next, ready) : (wake_.wait(guard, ready), true)) {
      if (stopped()) break;
      --signals_;
    } else {
      // A periodic tick; after a long handler the next one is a full period
      // away rather than a burst of missed ones.
      next += period_;
      const auto now = Clock::now();
      if (next < now) next = now + period_;
    }
    guard.unlock();
    onTick_();
    guard.lock();
  }
}

}  // namespace fc
