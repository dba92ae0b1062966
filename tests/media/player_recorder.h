// player_recorder.h - what a player sends, recorded on its two outputs, with
// a gate that can hold frames back to fill the player's queues.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "contracts/pins/state_pins.h"
#include "contracts/video/image_pins.h"
#include "media/Fcasfplayer.h"
#include "platform/audio/audio_pins.h"
#include "platform/signal/main_thread_notifier.h"

namespace fc::test {

class TPlayerRecorder : public TComponent, public IPMPinDispatcher {
public:
  TPlayerRecorder() : video(this, *this, "Video"), audio(this, *this, "Audio"), clock(this, "Clock") {}
  ~TPlayerRecorder() override {
    Open();
    video.Retire();
    audio.Retire();
  }

  /// Connects both outputs of `player`, and its clock pin when `clocked`.
  void Attach(TFCASFPlayer& player, bool clocked) {
    player.GetOutputPin()->Connect(video);
    player.GetAudioOutputPin()->Connect(audio);
    if (clocked) clock.Connect(*player.GetClockPin());
    player.SetOnPlayerStatus([this](TComponent&, TFCASFPlayerStatus status) {
      std::lock_guard guard(mutex_);
      statuses_.push_back(status);
    });
  }

  bool SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) override {
    std::unique_lock lock(mutex_);
    if (&pin == &video && operation->Is<TPMSuppliedBufferOperation>()) {
      ++arrived_;
      changed_.notify_all();
      changed_.wait(lock, [this] { return open_; });
    }
    (&pin == &video ? videoOps_ : audioOps_).push_back(operation);
    changed_.notify_all();
    return true;
  }
  bool SourceDispatch(TPMSourcePin&, const TPMOperation&) override { return false; }

  /// Holds every frame in its delivery until Open.
  void Close() {
    std::lock_guard guard(mutex_);
    open_ = false;
  }
  void Open() {
    std::lock_guard guard(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  /// Waits until `count` frames reached the video pin (held ones included).
  bool WaitForFrames(int count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(20), [&] { return arrived_ >= count; });
  }

  /// Runs the main thread's work (statuses) until `status` arrives; ticks
  /// the clock meanwhile when `tick`.
  bool PlayUntil(TFCASFPlayerStatus status, bool tick) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
      if (tick) clock.Tick();
      TWCMainThreadNotifier::ProcessMessages();
      if (HasStatus(status)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
  }
  bool HasStatus(TFCASFPlayerStatus status) const {
    std::lock_guard guard(mutex_);
    for (const auto s : statuses_)
      if (s == status) return true;
    return false;
  }
  std::vector<TFCASFPlayerStatus> Statuses() const {
    std::lock_guard guard(mutex_);
    return statuses_;
  }
  std::vector<TPMOperation> VideoOperations() const {
    std::lock_guard guard(mutex_);
    return videoOps_;
  }
  std::vector<TPMOperation> AudioOperations() const {
    std::lock_guard guard(mutex_);
    return audioOps_;
  }
  /// Names of the operations, with every run of buffers shown once as "buffers".
  static std::vector<std::string> Outline(const std::vector<TPMOperation>& operations) {
    std::vector<std::string> names;
    for (const auto& operation : operations) {
      const std::string name(operation->Is<TPMSuppliedBufferOperation>() ? "buffers" : operation->Name());
      if (names.empty() || name != "buffers" || names.back() != "buffers") names.push_back(name);
    }
    return names;
  }

  TFCPMImageSinkPin video;
  TTBAudioSinkPin audio;
  TPMClockSourcePin clock;

private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<TPMOperation> videoOps_, audioOps_;
  std::vector<TFCASFPlayerStatus> statuses_;
  bool open_ = true;
  int arrived_ = 0;
};

}  // namespace fc::test
