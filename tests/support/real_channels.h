// real_channels.h - collects what the three real-valued output pins of a
// per-channel component (histogram, colours to samples) send.
#pragma once

#include <array>
#include <memory>

#include "contracts/pins/pin_list.h"
#include "tests/support/real_harness.h"

namespace fc::test {

struct TRealChannels {
  explicit TRealChannels(TPMPinList& pins) {
    for (int c = 0; c < 3; ++c) pins.GetPin(c)->Connect(collectors[static_cast<std::size_t>(c)].input);
  }
  TRealCollector& operator[](int c) { return collectors[static_cast<std::size_t>(c)]; }

  std::array<TRealCollector, 3> collectors;
};

}  // namespace fc::test
