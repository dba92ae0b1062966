// main_thread_notifier.h - hands work from streaming threads to the main
// thread (status events a user handler expects on the thread that runs the
// application).
#pragma once

#include <cstddef>
#include <functional>
#include <memory>

#include "platform/runtime/components_api.h"

namespace fc {

/// A notifier whose handler runs on the main thread. `Signal()`, from any
/// thread, asks for one run of the handler; signals that arrive before the
/// main thread gets to it are merged into one run, so the handler drains
/// whatever state it reports. The main thread runs the handlers of signalled
/// notifiers, in signalling order, when it calls `ProcessMessages()`: an
/// application's message loop, or the tool's run loop between steps.
///
/// Destroying a notifier cancels its pending run and waits for a run in
/// progress on the main thread to return (a handler may destroy its own
/// notifier).
class FC_COMPONENTS_API TWCMainThreadNotifier {
public:
  explicit TWCMainThreadNotifier(std::function<void()> handler);
  ~TWCMainThreadNotifier();
  TWCMainThreadNotifier(const TWCMainThreadNotifier&) = delete;
  TWCMainThreadNotifier& operator=(const TWCMainThreadNotifier&) = delete;

  void Signal();

  /// Runs the handlers signalled so far (not those signalled while they
  /// run); returns how many ran. Call it on the main thread only.
  static std::size_t ProcessMessages();

  struct State;

private:
  std::shared_ptr<State> state_;
};

}  // namespace fc
