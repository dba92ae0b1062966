// generator.h - the base of components that make frames of their own.
#pragma once

#include <mutex>

#include "contracts/pins/lock.h"
#include "contracts/pins/state_pins.h"
#include "contracts/video/failure_policy.h"
#include "contracts/video/image_pins.h"
#include "contracts/video/sub_objects.h"
#include "platform/runtime/components_api.h"
#include "platform/signal/clock_thread.h"

namespace fc {

/// What decides when a generator makes a frame.
enum TFCGenPacing {
  gpInternalClock,  ///< its own clock thread, at FrameRate, in real time
  gpClockPin,       ///< one frame per tick arriving on ClockPin
  gpPump,           ///< one frame per pump request (or master pump) from downstream
};
FC_COMPONENTS_API const TEnumInfo& GenPacingInfo();

/// A generator: publishes "OutputPin", "ClockPin", `ImageSize` (starts
/// 320 x 240), `FrameRate` (default 30) and `Pacing` (default
/// gpInternalClock).
///
/// `Start()` announces a stream (GetImageSize()'s size, FrameRate, vfRGB24) and
/// begins pacing; each paced moment makes a black frame of that size, calls
/// `GenerateFrame` under the write lock, and sends the frame after releasing
/// it. Frames are numbered from 0 in their time code and stamped with the
/// time they are due at FrameRate from the start of the stream. `Stop()` ends
/// pacing and sends a stop; a generator also stops when GenerateFrame sets
/// its end-of-stream flag: it sends that frame and then the stop, and runs
/// (ignoring Start and Stop) until the stop goes out, so a restart can never
/// come between them.
///
/// Failures follow failure_policy.h: GenerateFrame checks each primitive's
/// status with `PrimitiveSucceeded`, and a frame whose call failed is not
/// sent. `Start()` raises EFCError naming `ImageSize` when the size lies
/// outside the frame budget (resource_budget.h).
class FC_COMPONENTS_API TFCCommonGen : public TComponent,
                                       public TPMObject,
                                       public IPMPinDispatcher,
                                       public TFCFailurePolicy {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr double kFrameRateDefault = 30.0;
  static constexpr TFCGenPacing kPacingDefault = gpInternalClock;

  explicit TFCCommonGen(TComponent* owner);
  ~TFCCommonGen() override;

  TFCPMImageSourcePin* GetOutputPin() { return &outputPin_; }
  TPMClockSinkPin* GetClockPin() { return &clockPin_; }
  /// The ImageSize property, also asked for the size of each new stream: a
  /// generator whose size comes from elsewhere (a picture) overrides it to
  /// update the size first.
  virtual TFCSize* GetImageSize() { return &imageSize_; }
  void SetImageSize(const TFCSize& size) { imageSize_.Assign(size); }
  double GetFrameRate() const;
  /// Frames per second; EFCError unless above 0. Takes effect at the next
  /// start.
  void SetFrameRate(double rate);
  TFCGenPacing GetPacing() const;
  /// Takes effect at the next start.
  void SetPacing(TFCGenPacing pacing);

  /// Starts a stream; does nothing while one runs.
  void Start();
  /// Ends the stream; does nothing when none runs. Safe from any thread,
  /// including from GenerateFrame's caller on the clock thread.
  void Stop();
  bool IsRunning() const;
  /// Makes and sends one frame now, whatever the pacing (a tool stepping a
  /// pipeline); false when no stream runs or no frame was sent.
  bool GenerateNow();
  /// Frames made since the stream started.
  std::int64_t FramesMade() const;

  bool SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) override;
  /// Pump requests make a frame when pumped; a query answers whether a
  /// stream runs.
  bool SourceDispatch(TPMSourcePin& pin, const TPMOperation& operation) override;

protected:
  /// Fills Buffer (already sized to the stream and black). Clear `Send` to
  /// send nothing this time; set `EndOfStream` to stop after this frame.
  /// Runs under the write lock.
  virtual void GenerateFrame(TFCImageBuffer& Buffer, bool& Send, bool& EndOfStream) = 0;

  /// Disconnects the pins and waits for deliveries in flight; subclasses
  /// with state of their own call it first in their destructor.
  void RetirePins();

private:
  void Tick(TFCGenPacing reason);
  // Numbers and time-stamps the next frame of the stream; under the lock.
  void StampFrame(TFCImageBuffer& frame);
  bool MarkStopped();
  void FinishStop();
  void EndOwnStream();

  TFCPMImageSourcePin outputPin_;
  TPMClockSinkPin clockPin_;
  TFCSize imageSize_;
  double frameRate_ = kFrameRateDefault;
  TFCGenPacing pacing_ = kPacingDefault;
  bool running_ = false;
  // Between the frame that ends the stream and its stop: no more frames, and
  // Start and Stop leave the stream to finish.
  bool ending_ = false;
  TFCGenPacing streamPacing_ = kPacingDefault;
  IppiSize streamSize_{0, 0};
  double streamRate_ = kFrameRateDefault;
  std::int64_t framesMade_ = 0;
  // Held while a start, a frame or a stop is sent, so they leave in order.
  // Recursive: a sink may pump us again from inside a send. It is taken
  // before the component lock and never while waiting for the clock thread.
  std::recursive_mutex streamOrder_;
  TWCClockThread clock_;
};

}  // namespace fc
