// sink_filter.h - the base of components that consume frames (histograms,
// colour-to-data converters, writers).
#pragma once

#include "contracts/pins/lock.h"
#include "contracts/video/failure_policy.h"
#include "contracts/video/image_pins.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// A sink: publishes "InputPin". A start-frame calls `IntStart(width,
/// height)` under the write lock; each frame calls `ProcessImage` as it
/// arrived (no format conversion) WITHOUT the lock, so it may send on the
/// component's own output pins: take the lock inside around the state you
/// touch, and release it before sending. A stop calls `Stop()` under the
/// write lock. Requests arriving at the subclass's output pins go upstream
/// through the input.
///
/// Failures follow failure_policy.h: ProcessImage checks each primitive's
/// status with `PrimitiveSucceeded` and sends nothing that depended on a
/// failed call; each start-frame reports the causes anew.
class FC_COMPONENTS_API TFCSinkFilter : public TComponent,
                                        public TPMObject,
                                        public IPMPinDispatcher,
                                        public TFCFailurePolicy {
  FC_DECLARE_CLASS_INFO()
public:
  explicit TFCSinkFilter(TComponent* owner);
  ~TFCSinkFilter() override;

  TFCPMImageSinkPin* GetInputPin() { return &inputPin_; }

  bool SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) override;
  bool SourceDispatch(TPMSourcePin& pin, const TPMOperation& operation) override;

  /// Asks upstream for the next frame (a sink that paces its stream).
  bool RequestFrame() { return inputPin_.RequestFrame(this); }

protected:
  virtual void ProcessImage(const TFCImageBuffer& Buffer) = 0;
  virtual void IntStart(int Width, int Height) { (void)Width, (void)Height; }
  virtual void Stop() {}

  /// Disconnects the input and waits for deliveries in flight; subclasses
  /// with state of their own call it first in their destructor.
  void RetirePins() { inputPin_.Retire(); }

private:
  TFCPMImageSinkPin inputPin_;
};

}  // namespace fc
