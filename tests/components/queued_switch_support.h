// queued_switch_support.h - a playlist switch with a producer harness per
// channel and one collecting its output.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "components/Fcqueuedswitch.h"
#include "tests/support/component_harness.h"

namespace fc::test {

/// Polls `done` for up to five seconds.
inline bool WaitUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

/// A one-pixel frame whose first two bytes hold n.
inline TFCImageBuffer NumberedFrame(int n) {
  TFCImageBuffer frame(1, 1);
  frame.Write()[0] = static_cast<Ipp8u>(n & 0xFF);
  frame.Write()[1] = static_cast<Ipp8u>(n >> 8);
  return frame;
}

inline int NumberOf(const TFCImageBuffer& frame) { return frame.Read()[0] | frame.Read()[1] << 8; }

struct TQueuedSwitchRun {
  std::unique_ptr<TFCQueuedSwitch> queued = std::make_unique<TFCQueuedSwitch>(nullptr);
  std::vector<std::unique_ptr<TComponentHarness>> producers;
  TComponentHarness output;

  explicit TQueuedSwitchRun(int channels) {
    for (int i = 0; i < channels; ++i) {
      TFCQueuedInputItem& item = queued->GetInputChannels()->Add();
      producers.push_back(std::make_unique<TComponentHarness>());
      producers.back()->Feed(*item.GetInputPin());
    }
    output.Collect(*queued->GetOutputPin());
  }
  TFCQueuedInputItem& Channel(int i) { return queued->GetInputChannels()->Items(i); }
  TComponentHarness& Producer(int i) { return *producers.at(static_cast<std::size_t>(i)); }
  std::vector<int> Numbers() const {
    std::vector<int> numbers;
    for (const auto& f : output.Frames()) numbers.push_back(NumberOf(*f));
    return numbers;
  }
  int FramesOut() const { return static_cast<int>(output.Frames().size()); }
};

}  // namespace fc::test
