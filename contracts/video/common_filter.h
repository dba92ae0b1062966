// common_filter.h - the base of components that turn each frame into one
// output frame: one image input, one image output, an enabled flag.
#pragma once

#include <vector>

#include "contracts/pins/lock.h"
#include "contracts/pins/state_pins.h"
#include "contracts/video/failure_policy.h"
#include "contracts/video/image_pins.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// A filter component. It publishes "InputPin", "OutputPin", "EnablePin"
/// and `Enabled` (default true), and runs the stream for its subclass:
///
/// - start-frame: under the write lock, `Reset()` and then `SetSizeRate`
///   (which may change the announced size); the start-frame goes on with the
///   answered size and the format `OutputFormat` gives.
/// - a frame: under the write lock, the input is copied (sharing its pixels),
///   passed through `SetVideoFormat`, and `FilterInternalOperation(In, Out)`
///   runs with an output frame that already holds the input's size, format
///   and pixels. After the lock is released the frames queued with
///   `SendAfterProcessing` are sent, then Out unless it was set to null.
///   While the filter is disabled frames pass unchanged.
/// - stop: under the write lock, `Stop()`; then the stop goes on.
/// - any other operation goes on downstream; requests arriving at the output
///   (pumps, queries) go upstream through the input.
///
/// A subclass whose dispatch uses state of its own calls `RetirePins()` first
/// in its destructor, so no frame arrives while that state is destroyed.
///
/// Failures (see failure_policy.h): a primitive's status is never ignored.
/// FilterInternalOperation checks each call with `PrimitiveSucceeded`; an
/// error is counted (`ErrorCount()`), reported once per distinct cause per
/// stream as "<component>: <entry> failed with <status name>" to the library
/// log (FRAMECRAFT_LOG=warning|debug) and to the `SetOnError` handler, and
/// the base then drops the frame: neither Out nor the frames queued with
/// SendAfterProcessing for it are sent, so nothing unwritten leaves. A
/// component defined to pass its input on when its primitive fails asks for
/// TFCFailedFrame::PassInput, and the base sends the input unchanged.
///
///   void TFCGammaFilter::FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) {
///     // Overwrite: the primitive writes every byte, so the frame is neither copied nor filled.
///     const IppStatus status = fc_entry(ippiGammaFwd_8u_C3R)(In.Read(), In.Step(), Out->Overwrite(),
///                                                             Out->Step(), In.SizeRecord());
///     PrimitiveSucceeded(status, "ippiGammaFwd_8u_C3R");  // on failure the base drops the frame
///   }
///
/// A std::bad_alloc while starting or filtering becomes EFCError naming the
/// component. A start-frame that comes back to the filter round a loop of
/// connections raises EFCError naming the components on the loop. Sizes that feed allocations are checked against the budget of
/// platform/runtime/resource_budget.h where they are set.
class FC_COMPONENTS_API TFCCommonFilter : public TComponent,
                                          public TPMObject,
                                          public IPMPinDispatcher,
                                          public TFCFailurePolicy {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr bool kEnabledDefault = true;

  explicit TFCCommonFilter(TComponent* owner);
  ~TFCCommonFilter() override;

  TFCPMImageSinkPin* GetInputPin() { return &inputPin_; }
  TFCPMImageSourcePin* GetOutputPin() { return &outputPin_; }
  TPMBoolStatePin* GetEnablePin() { return &enablePin_; }
  bool GetEnabled() const;
  /// Stores under the write lock, then publishes on EnablePin.
  void SetEnabled(bool enabled);

  bool SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) override;
  bool SourceDispatch(TPMSourcePin& pin, const TPMOperation& operation) override;

  /// Called when a stream starts, before `SetSizeRate`: clear per-stream
  /// history. Runs under the write lock.
  virtual void Reset() {}
  /// Called when the stream stops: release per-stream state. Runs under the
  /// write lock.
  virtual void Stop() {}

protected:
  /// Computes Out from In. Out starts as a frame sharing In's pixels: resize
  /// it, take its write or modify pointer, or replace it (set it to null to
  /// send nothing for this input). Runs under the write lock; never send
  /// from here (use SendAfterProcessing). The base passes the frame on.
  virtual void FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out);
  /// A question, despite the setter's name (kept, as components override
  /// it): which format does this component accept? It answers by bringing
  /// the arriving frame into that format in place; it sets nothing on the
  /// filter. The base converts every format to vfRGB24; a component that
  /// handles grey frames leaves vfGray8 alone and calls the base for the
  /// rest. Also asked with an empty probe frame to learn the output format.
  virtual void SetVideoFormat(TFCImageBuffer& Buffer);
  /// A question, despite the setter's name (kept, as components override
  /// it): what size is the output for an input of Width x Height at Rate
  /// frames per second (rounded)? It answers through Width and Height and
  /// sets nothing on the filter; the base keeps the input size.
  virtual void SetSizeRate(int& Width, int& Height, int Rate);
  /// True when In and Out may be one frame object, so writing Out changes
  /// what In shows; false gives them separate objects sharing the pixels.
  virtual bool CanInline() { return false; }
  /// The format of the output for an input of `input` format: by default
  /// what `SetVideoFormat` makes of it. Components that change the format
  /// in FilterInternalOperation override this, so the start-frame is right.
  virtual TFCVideoFormat OutputFormat(TFCVideoFormat input);
  /// The frame rate the start-frame announces downstream for an input at
  /// `inputRate`: by default the input's. Components that change the rate
  /// override it; it runs under the write lock, after `SetSizeRate`.
  virtual double OutputRate(double inputRate) { return inputRate; }

  /// Queues a frame to send after the current frame's processing, before
  /// Out (several outputs for one input, held frames released).
  void SendAfterProcessing(IFCImageBuffer frame) { pendingOutputs_.push_back(std::move(frame)); }

  /// The input size and rate announced by the last start-frame.
  IppiSize StreamSize() const { return streamSize_; }
  double StreamRate() const { return streamRate_; }

  /// Disconnects the pins and waits for deliveries in flight.
  void RetirePins();

private:
  void EnablePinChanged(bool enabled) { SetEnabled(enabled); }
  bool StartStream(const TPMStartFrameOperation& start);
  bool ProcessFrame(const TPMOperation& operation, const TFCImageBuffer& frame);
  /// What is sent for a frame whose work failed: nothing, or the input.
  IFCImageBuffer FrameAfterFailure(TFCFailedFrame failed, const TFCImageBuffer& frame,
                                   std::vector<IFCImageBuffer>& extra);

  TFCPMImageSinkPin inputPin_;
  TFCPMImageSourcePin outputPin_;
  TPMBoolStatePin enablePin_;
  bool enabled_ = kEnabledDefault;
  IppiSize streamSize_{0, 0};
  double streamRate_ = 0;
  std::vector<IFCImageBuffer> pendingOutputs_;
};

}  // namespace fc
