#include "components/real_channel_pins.h"

namespace fc {

TFCRealChannelPins::TFCRealChannelPins(TComponent* owner, IPMPinDispatcher& dispatcher)
    : list_(owner, true, "OutputPins") {
  const auto names = ColorModeChannelNames(cmRGB);
  for (std::size_t c = 0; c < pins_.size(); ++c) {
    auto pin = std::make_unique<TWCPMRealSourcePin>(owner, dispatcher, std::string(names[c]));
    pins_[c] = pin.get();
    list_.Add(std::move(pin));
  }
}

TFCRealChannelPins::~TFCRealChannelPins() { Retire(); }

void TFCRealChannelPins::Name(TFCColorMode mode) {
  const auto names = ColorModeChannelNames(mode);
  for (std::size_t c = 0; c < pins_.size(); ++c) list_.SetName(static_cast<int>(c), std::string(names[c]));
}

bool TFCRealChannelPins::SendToAll(const TPMOperation& operation) {
  bool answered = false;
  for (TWCPMRealSourcePin* pin : pins_) answered = pin->Send(operation) || answered;
  return answered;
}

void TFCRealChannelPins::Retire() {
  for (TWCPMRealSourcePin* pin : pins_) pin->Retire();
}

}  // namespace fc
