#include "components/Fcrealtoframe.h"

#include <cmath>
#include <limits>

#include "platform/runtime/error.h"
#include "platform/runtime/resource_budget.h"

namespace fc {

const TClassInfo& TFCRealToFrame::StaticClassInfo() {
  using R = TFCRealToFrame;
  static const TClassInfo info = TClassBuilder<R>("TFCRealToFrame", &TComponent::StaticClassInfo())
                                     .Pin("InputPin", &R::GetInputPin)
                                     .Pin("OutputPin", &R::GetOutputPin)
                                     .Property("Width", &R::GetWidth, &R::SetWidth, kWidthDefault)
                                     .Property("Hight", &R::GetHight, &R::SetHight, kHightDefault)
                                     .Property("FramePerSec", &R::GetFramePerSec, &R::Set_FramePerSec,
                                               kFramePerSecDefault)
                                     .Build();
  return info;
}

namespace {

// The low eight bits of the sample rounded to the nearest integer (ties to
// even). The rounded value saturates to the 64-bit range first, so every
// double has a defined byte.
Ipp8u SampleByte(double sample) {
  if (std::isnan(sample)) return 0;
  constexpr double kTwoTo63 = 9223372036854775808.0;
  const double rounded = std::nearbyint(sample);
  std::int64_t whole;
  if (rounded >= kTwoTo63)
    whole = std::numeric_limits<std::int64_t>::max();
  else if (rounded < -kTwoTo63)
    whole = std::numeric_limits<std::int64_t>::min();
  else
    whole = static_cast<std::int64_t>(rounded);
  return static_cast<Ipp8u>(static_cast<std::uint64_t>(whole) & 0xFFu);
}

}  // namespace

TFCRealToFrame::TFCRealToFrame(TComponent* owner)
    : TComponent(owner), inputPin_(this, *this, "InputPin"), outputPin_(this, *this, "OutputPin") {}

TFCRealToFrame::~TFCRealToFrame() {
  inputPin_.Retire();
  outputPin_.Retire();
}

void TFCRealToFrame::Store(std::uint32_t& field, std::uint32_t value) {
  auto section = WriteLock();
  field = value;
}

std::uint32_t TFCRealToFrame::GetWidth() const {
  auto section = ReadLock();
  return width_;
}

void TFCRealToFrame::SetWidth(std::uint32_t value) {
  CheckFrameSide(NamePath(), "Width", value);
  Store(width_, value);
}

std::uint32_t TFCRealToFrame::GetHight() const {
  auto section = ReadLock();
  return hight_;
}

void TFCRealToFrame::SetHight(std::uint32_t value) {
  CheckFrameSide(NamePath(), "Hight", value);
  Store(hight_, value);
}

std::uint32_t TFCRealToFrame::GetFramePerSec() const {
  auto section = ReadLock();
  return framePerSec_;
}

void TFCRealToFrame::Set_FramePerSec(std::uint32_t value) { Store(framePerSec_, value); }

std::uint64_t TFCRealToFrame::DroppedSamples() const {
  auto section = ReadLock();
  return dropped_;
}

bool TFCRealToFrame::SinkDispatch(TPMSinkPin&, const TPMOperation& operation) {
  if (operation->Is<TPMStartSampleRateOperation>() || operation->Is<TPMStartIntensityOperation>())
    return StartStream();
  if (auto samples = RealSamplesOf(operation)) {
    ProcessImage(*samples);
    return true;
  }
  if (operation->Is<TPMStopOperation>()) return StopStream(operation);
  return outputPin_.Send(operation);
}

bool TFCRealToFrame::SourceDispatch(TPMSourcePin&, const TPMOperation& operation) {
  if (operation->Is<TPMMasterPumpOperation>()) return MasterPump(operation);
  return inputPin_.Request(operation);
}

bool TFCRealToFrame::StartStream() {
  int width = 0, height = 0;
  double rate = 0;
  {
    auto section = WriteLock();
    if (width_ == 0) throw EFCError::ForProperty(NamePath(), "Width", "must be at least 1 to make frames");
    if (hight_ == 0) throw EFCError::ForProperty(NamePath(), "Hight", "must be at least 1 to make frames");
    CheckFrameBudget(NamePath(), "Width", width_, hight_, 1);
    width = static_cast<int>(width_);
    height = static_cast<int>(hight_);
    rate = framePerSec_;
    frame_ = TFCImageBuffer(width, height, vfGray8);
    fillPosition_ = 0;
    framesOwed_ = 0;
    pendingPump_.reset();
    startedFlag_ = true;
    running_ = true;
  }
  return outputPin_.SendStartFrame(width, height, rate, vfGray8);
}

bool TFCRealToFrame::StopStream(const TPMOperation& operation) {
  {
    auto section = WriteLock();
    running_ = false;
    frame_ = TFCImageBuffer();
    pendingPump_.reset();
  }
  return outputPin_.Send(operation);
}

void TFCRealToFrame::ProcessImage(const TWCRealBuffer& samples) {
  TPMOperation pumpAgain;
  auto frames = FillFrames(samples, pumpAgain);
  for (auto& frame : frames) outputPin_.SendFrame(std::move(frame));
  if (pumpAgain) inputPin_.Request(pumpAgain);
}

// Under the lock: writes the samples into the frame being filled and returns
// the frames they completed, to be sent after the lock is released. When the
// block completes no frame and a master pump is pending, `pumpAgain` is set
// to it.
std::vector<std::shared_ptr<const TFCImageBuffer>> TFCRealToFrame::FillFrames(const TWCRealBuffer& samples,
                                                                              TPMOperation& pumpAgain) {
  std::vector<std::shared_ptr<const TFCImageBuffer>> completed;
  auto section = WriteLock();
  const std::size_t count = static_cast<std::size_t>(samples.Length());
  if (!running_) {
    dropped_ += count;
    return completed;
  }
  if (count == 0) return completed;
  const double* next = samples.Read();
  const std::size_t frameSize = frame_.Size();
  std::size_t left = count;
  while (left > 0) {
    // A frame starts afresh when its first sample comes: Write() then needs
    // no copy of a frame that was sent and may still be held downstream.
    Ipp8u* pixels = fillPosition_ == 0 ? frame_.Write() : frame_.Modify();
    const std::size_t take = std::min(left, frameSize - fillPosition_);
    for (std::size_t i = 0; i < take; ++i) pixels[fillPosition_ + i] = SampleByte(next[i]);
    next += take;
    left -= take;
    fillPosition_ += take;
    if (fillPosition_ == frameSize) {
      completed.push_back(std::make_shared<const TFCImageBuffer>(frame_));
      fillPosition_ = 0;
    }
  }
  framesOwed_ = static_cast<int>(completed.size());
  if (!completed.empty())
    pendingPump_.reset();
  else if (pendingPump_)
    pumpAgain = pendingPump_;
  return completed;
}

bool TFCRealToFrame::MasterPump(const TPMOperation& pump) {
  {
    auto section = WriteLock();
    const bool owed = framesOwed_ > 0 && !startedFlag_;
    startedFlag_ = false;
    if (owed) {
      --framesOwed_;
      return true;
    }
    pendingPump_ = pump;
  }
  return inputPin_.Request(pump);
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcrealtoframe, TFCRealToFrame)
