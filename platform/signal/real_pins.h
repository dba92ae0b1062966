// real_pins.h - pins that carry real-valued samples: blocks of doubles
// (TWCRealBuffer) and single values.
#pragma once

#include <memory>
#include <string>

#include "contracts/pins/pin.h"
#include "platform/runtime/components_api.h"
#include "platform/signal/real_buffer.h"

namespace fc {

inline constexpr std::string_view kRealMedia = "Real";

/// An output pin for real-valued data. A stream announces itself with a
/// start-sample-rate (a stream of samples) or a start-intensity (blocks of a
/// fixed number of values, such as histograms), then sends blocks or single
/// values, then a stop.
class FC_COMPONENTS_API TWCPMRealSourcePin : public TPMSourcePin {
  FC_DECLARE_CLASS_INFO()
public:
  TWCPMRealSourcePin(TComponent* owner, IPMPinDispatcher& dispatcher, std::string name = "OutputPin")
      : TPMSourcePin(owner, dispatcher, std::move(name), std::string(kRealMedia)) {}

  bool SendStartSampleRate(double samplesPerSecond);
  bool SendStartIntensity(int valuesPerBlock, double valuesPerSecond);
  /// Sends a block; the sinks share it read-only (it is copy-on-write, so
  /// the sender may keep and reuse its own copy).
  bool SendBuffer(std::shared_ptr<const TWCRealBuffer> block);
  bool SendReal(double value);
  bool SendSingle(float value);
  bool SendStop();
};

/// An input pin for real-valued data that takes blocks as well as single
/// double or float values (see `RealSamplesOf`).
class FC_COMPONENTS_API TWCPMComboRealSinkPin : public TPMSinkPin {
  FC_DECLARE_CLASS_INFO()
public:
  TWCPMComboRealSinkPin(TComponent* owner, IPMPinDispatcher& dispatcher, std::string name = "InputPin")
      : TPMSinkPin(owner, dispatcher, std::move(name), std::string(kRealMedia)) {}

  /// Passes a master pump upstream on behalf of `sender`.
  bool RequestMasterPump(const TComponent* sender);
};

/// The samples an operation carries: the block of a supplied-buffer
/// operation that holds real samples, a one-sample block for a supplied real
/// or single value, null for anything else.
FC_COMPONENTS_API std::shared_ptr<const TWCRealBuffer> RealSamplesOf(const TPMOperation& operation);

}  // namespace fc
