// video_out_support.h - what the video output's tests share: a video output
// between test pins, an audio source, and waiting for a condition.
#pragma once

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "media/Fcdsvideoout.h"
#include "platform/signal/main_thread_notifier.h"
#include "tests/support/component_harness.h"

namespace fc::test {

/// Polls `condition` (running the main thread's notifiers meanwhile) for up
/// to `limit`; true once it holds.
template <class Condition>
bool Eventually(Condition condition, std::chrono::milliseconds limit = std::chrono::milliseconds(5000)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    TWCMainThreadNotifier::ProcessMessages();
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

/// A component with an audio output pin, to start sound, send blocks and stop.
class TAudioSource : public TComponent, public IPMPinDispatcher {
public:
  TAudioSource() : TComponent(nullptr), pin(this, *this) {}
  ~TAudioSource() override { pin.Retire(); }
  bool SinkDispatch(TPMSinkPin&, const TPMOperation&) override { return false; }
  bool SourceDispatch(TPMSourcePin&, const TPMOperation&) override { return true; }

  void Start() { pin.SendStartWave(MakePcmWaveFormat(2, 48000, 16), 400000); }
  void Block() { pin.SendAudio(std::make_shared<const TTBAudioBuffer>(1920, 2, 16, 48000)); }

  TTBAudioSourcePin pin;
};

/// A video output fed by a harness, sending to `device`. Its graph errors
/// are collected and marked handled (so frames queue while it is down),
/// unless `raiseErrors` is set.
struct TVideoOutRig {
  explicit TVideoOutRig(const std::string& device, bool masterPumping = false)
      : out(std::make_unique<TFCDSVideoOut>(nullptr)) {
    out->SetName("VideoOut1");
    out->SetEnableMasterPumping(masterPumping);
    out->GetGraph()->SetOnError([this](TDSGraph&, const std::string& message, std::uint32_t, bool& handled) {
      errors.push_back(message);
      handled = !raiseErrors;
    });
    out->GetVideoOutputDevice()->SetDeviceName(device);
    harness.Feed(*out->GetInputPin());
  }
  void PushFrames(int count, int width = 64, int height = 48) {
    for (int i = 0; i < count; ++i) harness.PushFrame(CountingFrame(width, height, vfRGB24, i));
  }

  TComponentHarness harness;
  std::vector<std::string> errors;
  bool raiseErrors = false;
  std::unique_ptr<TFCDSVideoOut> out;  // goes before the harness
};

}  // namespace fc::test
