// real_channel_pins.h - the three real-valued output pins of a component that
// sends one stream per channel of a colour mode.
#pragma once

#include <array>
#include <memory>

#include "contracts/pins/pin_list.h"
#include "contracts/video/color_mode.h"
#include "platform/signal/real_pins.h"

namespace fc {

/// Three TWCPMRealSourcePin in a pin list published as "OutputPins", named
/// after the channels of a colour mode ("Red", "Green", "Blu" for cmRGB).
class FC_COMPONENTS_API TFCRealChannelPins {
public:
  TFCRealChannelPins(TComponent* owner, IPMPinDispatcher& dispatcher);
  ~TFCRealChannelPins();

  TPMPinList* List() { return &list_; }
  TWCPMRealSourcePin& Pin(int channel) { return *pins_[static_cast<std::size_t>(channel)]; }

  /// Renames the pins after the channels of `mode`.
  void Name(TFCColorMode mode);
  /// Sends `operation` on all three pins, in channel order.
  bool SendToAll(const TPMOperation& operation);
  /// Disconnects the pins and waits for deliveries in flight.
  void Retire();

private:
  TPMPinList list_;
  std::array<TWCPMRealSourcePin*, 3> pins_{};
};

}  // namespace fc
