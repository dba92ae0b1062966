#include "platform/signal/main_thread_notifier.h"

#include <deque>
#include <mutex>
#include <utility>

namespace fc {

// What the queue holds of a notifier: it outlives the notifier while queued.
// `run` is held while the handler runs, so destruction waits for it; it is
// recursive so a handler may destroy its own notifier.
struct TWCMainThreadNotifier::State {
  std::recursive_mutex run;
  std::function<void()> handler;
  bool alive = true;   // guarded by run
  bool queued = false;  // guarded by the queue mutex
};

namespace {

using StatePtr = std::shared_ptr<TWCMainThreadNotifier::State>;

std::mutex& QueueMutex() {
  static std::mutex mutex;
  return mutex;
}

std::deque<StatePtr>& Queue() {
  static std::deque<StatePtr> queue;
  return queue;
}

}  // namespace

TWCMainThreadNotifier::TWCMainThreadNotifier(std::function<void()> handler)
    : state_(std::make_shared<State>()) {
  state_->handler = std::move(handler);
}

TWCMainThreadNotifier::~TWCMainThreadNotifier() {
  {
    std::lock_guard guard(QueueMutex());
    std::erase(Queue(), state_);
  }
  std::lock_guard run(state_->run);
  state_->alive = false;
}

void TWCMainThreadNotifier::Signal() {
  std::lock_guard guard(QueueMutex());
  if (state_->queued) return;
  state_->queued = true;
  Queue().push_back(state_);
}

std::size_t TWCMainThreadNotifier::ProcessMessages() {
  std::deque<StatePtr> due;
  {
    std::lock_guard guard(QueueMutex());
    due.swap(Queue());
    for (const StatePtr& state : due) state->queued = false;
  }
  std::size_t ran = 0;
  for (const StatePtr& state : due) {
    std::lock_guard run(state->run);
    if (!state->alive || !state->handler) continue;
    state->handler();
    ++ran;
  }
  return ran;
}

}  // namespace fc
