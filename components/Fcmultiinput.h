// Fcmultiinput.h - the base of components with several image inputs and one
// image output (combiners, mergers, the effect plug-in host).
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "contracts/pins/lock.h"
#include "contracts/pins/pin_list.h"
#include "contracts/video/failure_policy.h"
#include "contracts/video/image_pins.h"
#include "package/unit_load_counter.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// An image input of a multi-input component. Besides being an image sink
/// pin it keeps what its component needs to pair frames from several
/// streams: the last frame received (shared read-only), whether that frame
/// is new since the last output (has-frame), whether a stream runs on it,
/// and the rate, size and format its last start-frame announced. The state
/// is read and written by the owning component under its write lock.
class FC_COMPONENTS_API TFCPMQueuedImageSinkPin : public TFCPMImageSinkPin {
  FC_DECLARE_CLASS_INFO()
public:
  using TFCPMImageSinkPin::TFCPMImageSinkPin;

  /// The last frame received in the running stream, or null.
  const std::shared_ptr<const TFCImageBuffer>& Frame() const { return frame_; }
  bool HasFrame() const { return hasFrame_; }
  bool IsRunning() const { return running_; }
  double Rate() const { return rate_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int PixelFormat() const { return pixelFormat_; }

  /// A start-frame arrived: running, with its rate, size and format.
  void Started(const TPMStartFrameOperation& start);
  /// The stream ended: not running, and the frame is let go.
  void Stopped();
  /// A frame arrived: kept, and has-frame set.
  void Received(std::shared_ptr<const TFCImageBuffer> frame);
  void ClearHasFrame() { hasFrame_ = false; }

private:
  std::shared_ptr<const TFCImageBuffer> frame_;
  bool hasFrame_ = false;
  bool running_ = false;
  double rate_ = 0;
  int width_ = 0, height_ = 0;
  int pixelFormat_ = 0;
};

/// A component that collects one frame per input and makes output from the
/// set. It publishes "OutputPin"; subclasses publish the inputs the way they
/// name them (a pin list, or single pins) and make them with AddInputPin in
/// their constructor.
///
/// Input handling, each under the write lock (only connected inputs count):
///
/// - start-frame on an input: the input runs and records rate, size and
///   format. If the component has not started, and StartIfNotAllRunning()
///   or every input runs, CalculateSendStart(largest rate, largest width,
///   largest height) over the running inputs.
/// - a frame on an input P: P keeps it and sets has-frame. While started,
///   output is made (CalculateSendOutput) when StartIfNotAllRunning() and
///   some input is not running, or when every input has a frame and either
///   all running inputs have the same rate or P's rate is the largest. So the
///   fastest input paces the output. Afterwards, when every input runs at
///   different rates only P's has-frame is cleared (the slower inputs'
///   frames are used again with the fastest input's next frame); otherwise
///   every has-frame is cleared.
/// - stop on an input: it stops running; TrySendStop(). With GetStopOnAll()
///   the output stops once no input runs any more; nothing is sent after the
///   stop, and a new start-frame starts the output again.
/// - anything else arriving on an input goes on downstream; requests
///   arriving at the output (pumps, queries) go up every connected input.
///
/// The handlers run under the write lock and must not send: they queue what
/// goes downstream with Send(), and the queue is sent once the lock is
/// released. Inputs may deliver on different threads; what leaves the
/// output leaves in the order it was queued, and only one thread sends at a
/// time.
///
/// Failures follow failure_policy.h: a primitive's status is checked with
/// PrimitiveSucceeded, and the output that depended on it is not queued.
///
/// A subclass whose handlers use state of its own calls RetirePins() first
/// in its destructor.
class FC_COMPONENTS_API TFCMultiInput : public TComponent,
                      public TPMObject,
                      public IPMPinDispatcher,
                      public TFCFailurePolicy {
  FC_DECLARE_CLASS_INFO()
public:
  explicit TFCMultiInput(TComponent* owner);
  ~TFCMultiInput() override;

  TFCPMImageSourcePin* GetOutputPin() { return &outputPin_; }
  /// The inputs in index order.
  TPMPinList* GetInputPins() { return &inputPins_; }
  int InputCount() const { return inputPins_.GetCount(); }
  TFCPMQueuedImageSinkPin& Input(int index) const;

  bool SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) override;
  bool SourceDispatch(TPMSourcePin& pin, const TPMOperation& operation) override;

  /// Whether the output stream runs (started and not yet stopped).
  bool IsStarted() const;

protected:
  /// Appends an input named `name`; call it in the constructor.
  TFCPMQueuedImageSinkPin& AddInputPin(std::string name);

  /// The inputs have started: the base marks the component started. A
  /// subclass queues its start-frame and then calls the base.
  virtual void CalculateSendStart(double Rate, int Width, int Height);
  /// Another input started while the output runs; the base does nothing.
  virtual void InputStartedWhileStarted(TFCPMQueuedImageSinkPin& Pin) { (void)Pin; }
  /// Stops the output unless GetStopOnAll() and some connected input still
  /// runs.
  virtual void TrySendStop();
  /// A complete set of input frames is there; the base does nothing.
  virtual void CalculateSendOutput() {}
  /// Queues the output's stop, marks the component stopped and lets go of
  /// the inputs' frames.
  virtual void IntStop();
  /// True: the output stops when every input has stopped.
  virtual bool GetStopOnAll() { return true; }
  /// False: the output starts when every connected input runs. True starts
  /// it with the first input and makes output while inputs are missing.
  virtual bool StartIfNotAllRunning() { return false; }

  /// Queues an operation to go out of OutputPin once the lock is released.
  void Send(TPMOperation operation) { outgoing_.push_back(std::move(operation)); }
  void SendStartFrame(int width, int height, double rate, TFCVideoFormat format);
  void SendFrame(std::shared_ptr<const TFCImageBuffer> frame);

  /// Handles an operation on `pin` under the write lock; subclasses that
  /// handle their inputs differently override it and call the base for
  /// what they leave alone.
  virtual void HandleInput(TFCPMQueuedImageSinkPin& pin, const TPMOperation& operation);
  void HandleStart(TFCPMQueuedImageSinkPin& pin, const TPMStartFrameOperation& start);
  void HandleFrame(TFCPMQueuedImageSinkPin& pin, std::shared_ptr<const TFCImageBuffer> frame);

  /// The connected inputs, in index order.
  std::vector<TFCPMQueuedImageSinkPin*> ConnectedInputs() const;

  /// Disconnects every pin and waits for deliveries in flight.
  void RetirePins();

private:
  TFCPMImageSourcePin outputPin_;
  TPMPinList inputPins_;
  bool started_ = false;
  std::vector<TPMOperation> outgoing_;
  // Held from the moment an input operation is handled until what it queued
  // has been sent, so outputs leave in order and none follows the stop.
  // Recursive: a downstream component may pump us again from inside a send.
  // Always taken before the component lock.
  std::recursive_mutex sendOrder_;
};

}  // namespace fc

FC_DECLARE_UNIT(Fcmultiinput)
