// Fcswitch.h - an on/off gate on one image stream.
#pragma once

#include <mutex>
#include <optional>

#include "contracts/pins/lock.h"
#include "contracts/pins/state_pins.h"
#include "contracts/video/image_pins.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// Passes the stream arriving on "InputPin" to "OutputPin" while `Enabled`
/// (default true; also driven by the boolean "EnabledPin"), and drops frames
/// while disabled. Starts, start-pumps, stops and every other operation
/// always pass; requests from downstream go upstream.
///
/// A start-frame that arrives while disabled is kept pending and replayed
/// when the switch is enabled; with `ResetOnEnable` (default false) the last
/// start of the running stream is replayed on every enabling. A stop ends
/// the stream: nothing is replayed after it until a new start arrives.
class FC_COMPONENTS_API TFCSwitch : public TComponent, public TPMObject, public IPMPinDispatcher {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr bool kEnabledDefault = true;
  static constexpr bool kResetOnEnableDefault = false;

  explicit TFCSwitch(TComponent* owner);
  ~TFCSwitch() override;

  TFCPMImageSourcePin* GetOutputPin() { return &outputPin_; }
  TFCPMImageSinkPin* GetInputPin() { return &inputPin_; }
  TPMBoolSinkPin* GetEnabledPin() { return &enabledPin_; }

  bool GetEnabled() const;
  /// Enabling replays the pending start (or, with ResetOnEnable, the
  /// stream's last start) before any further frame passes.
  void SetEnabled(bool enabled);
  bool GetResetOnEnable() const;
  void SetResetOnEnable(bool reset);

  bool SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) override;
  bool SourceDispatch(TPMSourcePin& pin, const TPMOperation& operation) override;

private:
  struct TStartParameters {
    int width, height;
    double rate;
    int pixelFormat;
  };

  TFCPMImageSourcePin outputPin_;
  TFCPMImageSinkPin inputPin_;
  TPMBoolSinkPin enabledPin_;
  bool enabled_ = kEnabledDefault;
  bool resetOnEnable_ = kResetOnEnableDefault;
  bool startPending_ = false;
  std::optional<TStartParameters> lastStart_;  // of the running stream
  // Held while an operation is passed on or a start replayed, so a replayed
  // start cannot overtake or trail the frames around it. Recursive: a sink
  // may call back into the switch from inside a send.
  std::recursive_mutex streamOrder_;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcswitch)
