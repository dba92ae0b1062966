#include "contracts/video/generator.h"

#include <chrono>
#include <cmath>

#include "platform/runtime/error.h"
#include "platform/runtime/resource_budget.h"

namespace fc {

const TEnumInfo& GenPacingInfo() {
  static const TEnumInfo info("TFCGenPacing", {"gpInternalClock", "gpClockPin", "gpPump"});
  return info;
}

const TClassInfo& TFCCommonGen::StaticClassInfo() {
  using G = TFCCommonGen;
  static const TClassInfo info = TClassBuilder<G>("TFCCommonGen", &TComponent::StaticClassInfo())
                                     .Pin("OutputPin", &G::GetOutputPin)
                                     .Pin("ClockPin", &G::GetClockPin)
                                     .Object("ImageSize", &G::GetImageSize)
                                     .Property("FrameRate", &G::GetFrameRate, &G::SetFrameRate, kFrameRateDefault)
                                     .Enum("Pacing", &G::GetPacing, &G::SetPacing, GenPacingInfo(), kPacingDefault)
                                     .Build();
  return info;
}

TFCCommonGen::TFCCommonGen(TComponent* owner)
    : TComponent(owner), TFCFailurePolicy(static_cast<const TComponent&>(*this)), outputPin_(this, *this, "OutputPin"),
      clockPin_(this, "ClockPin", [this](TPMClockSinkPin&) { Tick(gpClockPin); }),
      imageSize_(this, "ImageSize", *this), clock_([this] { Tick(gpInternalClock); }) {}

TFCCommonGen::~TFCCommonGen() {
  clock_.Stop();
  RetirePins();
}

void TFCCommonGen::RetirePins() {
  clock_.Stop();
  outputPin_.Retire();
  clockPin_.Retire();
}

double TFCCommonGen::GetFrameRate() const {
  auto section = ReadLock();
  return frameRate_;
}

void TFCCommonGen::SetFrameRate(double rate) {
  if (!(rate > 0)) throw EFCError::ForProperty(NamePath(), "FrameRate", "must be above 0");
  auto section = WriteLock();
  frameRate_ = rate;
}

TFCGenPacing TFCCommonGen::GetPacing() const {
  auto section = ReadLock();
  return pacing_;
}

void TFCCommonGen::SetPacing(TFCGenPacing pacing) {
  auto section = WriteLock();
  pacing_ = pacing;
}

std::int64_t TFCCommonGen::FramesMade() const {
  auto section = ReadLock();
  return framesMade_;
}

bool TFCCommonGen::IsRunning() const {
  auto section = ReadLock();
  return running_;
}

void TFCCommonGen::Start() {
  double rate;
  TFCGenPacing pacing;
  {
    std::lock_guard order(streamOrder_);
    IppiSize size;
    {
      auto section = WriteLock();
      if (running_) return;
      size = GetImageSize()->Get();
      CheckFrameBudget(NamePath(), "ImageSize", size.width, size.height, 3);
      ForgetReportedFailures();
      running_ = true;
      streamSize_ = size;
      pacing = streamPacing_ = pacing_;
      rate = streamRate_ = frameRate_;
      framesMade_ = 0;
    }
    try {
      outputPin_.SendStartFrame(size.width, size.height, rate, vfRGB24);
    } catch (...) {
      // A component downstream refused the stream: those already started
      // get their stop, and this generator is not left running.
      MarkStopped();
      outputPin_.SendStop();
      throw;
    }
  }
  if (pacing == gpInternalClock)
    clock_.Start(std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::duration<double>(1.0 / rate)));
}

bool TFCCommonGen::MarkStopped() {
  auto section = WriteLock();
  if (!running_ || ending_) return false;  // a stream ending itself sends its own stop
  running_ = false;
  return true;
}

void TFCCommonGen::FinishStop() {
  clock_.Stop();  // holding no lock: a tick may be waiting for one
  std::lock_guard order(streamOrder_);
  outputPin_.SendStop();
}

void TFCCommonGen::Stop() {
  if (MarkStopped()) FinishStop();
}

bool TFCCommonGen::GenerateNow() {
  // Frames leave in stream order, and a stream that ends here sends its stop
  // before another start can be sent: streamOrder_ is held throughout.
  std::lock_guard order(streamOrder_);
  IFCImageBuffer frame;
  bool send = true, end = false;
  {
    auto section = WriteLock();
    if (!running_ || ending_) return false;
    NamingOutOfMemory("generating a frame", [&] {
      TakeFrameFailure();  // a mark left from outside a frame is not this frame's
      frame = MakeImageBuffer(streamSize_.width, streamSize_.height, vfRGB24);
      GenerateFrame(*frame, send, end);
      StampFrame(*frame);  // after: GenerateFrame may copy a picture over it
    });
    if (TakeFrameFailure()) send = false;
    ending_ = end;
  }
  const bool sent = send && outputPin_.SendFrame(frame);
  if (end) EndOwnStream();
  return sent;
}

void TFCCommonGen::StampFrame(TFCImageBuffer& frame) {
  const std::int64_t number = framesMade_++;
  auto due = [&](std::int64_t n) {
    return static_cast<std::int64_t>(std::llround(static_cast<double>(n) * kTimeUnitsPerSecond / streamRate_));
  };
  frame.SetTimeStamps({due(number), due(number + 1), true});
  frame.SetTimeCode({number, false});
}

void TFCCommonGen::EndOwnStream() {
  // Not waiting for the clock thread: it may be this thread, or one waiting
  // for streamOrder_. The next start or the destructor joins it.
  clock_.Halt();
  {
    auto section = WriteLock();
    running_ = false;
    ending_ = false;
  }
  // Not running any more, so a sink may start the next stream from inside
  // this stop's delivery.
  outputPin_.SendStop();
}

void TFCCommonGen::Tick(TFCGenPacing reason) {
  {
    auto section = ReadLock();
    if (!running_ || streamPacing_ != reason) return;
  }
  GenerateNow();
}

bool TFCCommonGen::SinkDispatch(TPMSinkPin&, const TPMOperation&) { return false; }

bool TFCCommonGen::SourceDispatch(TPMSourcePin&, const TPMOperation& operation) {
  if (operation->Is<TPMPumpRequestOperation>()) {
    Tick(gpPump);
    return IsRunning();
  }
  if (operation->Is<TPMQueryStreamOperation>()) return IsRunning();
  return false;
}

}  // namespace fc
