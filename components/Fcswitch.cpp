#include "components/Fcswitch.h"

namespace fc {

const TClassInfo& TFCSwitch::StaticClassInfo() {
  using S = TFCSwitch;
  static const TClassInfo info =
      TClassBuilder<S>("TFCSwitch", &TComponent::StaticClassInfo())
          .Pin("OutputPin", &S::GetOutputPin)
          .Pin("InputPin", &S::GetInputPin)
          .Pin("EnabledPin", &S::GetEnabledPin)
          .Property("Enabled", &S::GetEnabled, &S::SetEnabled, kEnabledDefault)
          .Property("ResetOnEnable", &S::GetResetOnEnable, &S::SetResetOnEnable, kResetOnEnableDefault)
          .Build();
  return info;
}

TFCSwitch::TFCSwitch(TComponent* owner)
    : TComponent(owner), outputPin_(this, *this, "OutputPin"), inputPin_(this, *this, "InputPin"),
      enabledPin_(this, "EnabledPin", [this](TPMValueSinkPin<bool>&, const bool& v) { SetEnabled(v); }) {}

TFCSwitch::~TFCSwitch() {
  inputPin_.Retire();
  enabledPin_.Retire();
  outputPin_.Retire();
}

bool TFCSwitch::GetEnabled() const {
  auto section = ReadLock();
  return enabled_;
}

void TFCSwitch::SetEnabled(bool enabled) {
  std::lock_guard order(streamOrder_);
  std::optional<TStartParameters> replay;
  {
    auto section = WriteLock();
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled && (resetOnEnable_ || startPending_)) replay = lastStart_;
    if (enabled) startPending_ = false;
  }
  if (replay)
    outputPin_.SendStartFrame(replay->width, replay->height, replay->rate,
                              static_cast<TFCVideoFormat>(replay->pixelFormat));
}

bool TFCSwitch::GetResetOnEnable() const {
  auto section = ReadLock();
  return resetOnEnable_;
}

void TFCSwitch::SetResetOnEnable(bool reset) {
  auto section = WriteLock();
  resetOnEnable_ = reset;
}

bool TFCSwitch::SinkDispatch(TPMSinkPin&, const TPMOperation& operation) {
  std::lock_guard order(streamOrder_);
  bool pass = true;
  {
    auto section = WriteLock();
    if (const auto* start = operation->As<TPMStartFrameOperation>()) {
      lastStart_ = TStartParameters{start->Width(), start->Height(), start->Rate(), start->PixelFormat()};
      startPending_ = !enabled_;
      pass = enabled_;
    } else if (operation->Is<TPMStopOperation>()) {
      // The stream is over: nothing of it may be replayed later.
      lastStart_.reset();
      startPending_ = false;
    } else if (operation->Is<TPMSuppliedBufferOperation>()) {
      pass = enabled_;
    }
  }
  return pass && outputPin_.Send(operation);
}

bool TFCSwitch::SourceDispatch(TPMSourcePin&, const TPMOperation& operation) {
  return inputPin_.Request(operation);
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcswitch, TFCSwitch)
