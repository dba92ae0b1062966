#include "components/Fcchangerate.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/runtime/error.h"
#include "platform/runtime/resource_budget.h"

namespace fc {

namespace {

// Rounding slack of the time comparisons, in seconds: times are sums of
// periods such as 0.1 and 0.04 that binary fractions cannot hold exactly, so
// an output moment that falls exactly on an input moment must not be missed
// by a rounding error.
constexpr double kTimeSlack = 1e-9;

bool SameLayout(const TFCImageBuffer& a, const TFCImageBuffer& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() && a.Format() == b.Format();
}

}  // namespace

const TClassInfo& TFCChangeRate::StaticClassInfo() {
  using C = TFCChangeRate;
  static const TClassInfo info = TClassBuilder<C>("TFCChangeRate", &TFCCommonFilter::StaticClassInfo())
                                     .Property("FrameRate", &C::GetFrameRate, &C::SetFrameRate)
                                     .Build();
  return info;
}

double TFCChangeRate::GetFrameRate() const {
  auto section = ReadLock();
  return frameRate_;
}

void TFCChangeRate::SetFrameRate(double rate) {
  if (!std::isfinite(rate) || rate <= 0)
    throw EFCError::ForProperty(NamePath(), "FrameRate", "must be above 0 frames per second");
  auto section = WriteLock();
  frameRate_ = rate;
}

TFCRateChangeOperation TFCChangeRate::Operation() const {
  auto section = ReadLock();
  return operation_;
}

void TFCChangeRate::Reset() {
  auto section = WriteLock();
  inputFrames_ = 0;
  outputCounter_ = 0;
  lag_ = 0;
  hasPrevious_ = false;
  previous_ = TFCImageBuffer();
  work_.clear();
}

void TFCChangeRate::SetVideoFormat(TFCImageBuffer& Buffer) {
  if (Buffer.Format() != vfGray8) TFCCommonFilter::SetVideoFormat(Buffer);
}

void TFCChangeRate::SetSizeRate(int& Width, int& Height, int Rate) {
  operation_ = froNone;
  refused_ = Rate <= 0;
  if (refused_)
    throw EFCError(NamePath() + ": cannot change the rate of a stream of " + std::to_string(StreamRate()) +
                   " frames per second (it rounds to " + std::to_string(Rate) + ")");
  inputRate_ = Rate;
  outputRate_ = frameRate_;
  ratio_ = outputRate_ / inputRate_;
  if (outputRate_ > inputRate_) {
    operation_ = froUpSample;
    groupSize_ = static_cast<int>(std::ceil(ratio_));
    step_ = 1.0 / ratio_;
  } else if (outputRate_ < inputRate_) {
    operation_ = froDownSample;
    groupSize_ = 1;
  } else {
    groupSize_ = 0;
  }
  inputDuration_ = 1.0 / inputRate_;
  outputDuration_ = 1.0 / outputRate_;
  // The work frames of a group live together: a large ratio must not
  // exhaust memory.
  const std::uint64_t frameBytes = static_cast<std::uint64_t>(RowBytesOf(vfRGB24, std::max(Width, 0))) *
                                   static_cast<std::uint64_t>(std::max(Height, 0));
  if (groupSize_ > 0 && !WithinBufferBudget(frameBytes * static_cast<std::uint64_t>(groupSize_))) {
    operation_ = froNone;
    refused_ = true;
    CheckBufferBudget(NamePath(), "FrameRate", frameBytes * static_cast<std::uint64_t>(groupSize_));
  }
}

double TFCChangeRate::OutputRate(double inputRate) {
  return operation_ == froNone && !refused_ ? inputRate : std::round(outputRate_);
}

bool TFCChangeRate::LagAllowsFrame() const { return outputDuration_ <= lag_ + kTimeSlack; }

// Times are counts of periods, so they do not accumulate rounding errors.
void TFCChangeRate::UpdateLag() {
  lag_ = static_cast<double>(inputFrames_) * inputDuration_ - static_cast<double>(outputCounter_) * outputDuration_;
}

void TFCChangeRate::FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) {
  if (refused_) {
    Out = nullptr;
    return;
  }
  if (operation_ == froNone) return;  // Out already holds the frame
  Out = nullptr;
  if (work_.size() != static_cast<std::size_t>(groupSize_) || !SameLayout(work_.front(), In))
    work_.assign(static_cast<std::size_t>(groupSize_), TFCImageBuffer(In.Width(), In.Height(), In.Format()));
  if (hasPrevious_ && !SameLayout(previous_, In)) hasPrevious_ = false;
  ++inputFrames_;
  if (operation_ == froUpSample)
    UpSample(In);
  else
    DownSample(In);
  previous_ = In;
  hasPrevious_ = true;
}

void TFCChangeRate::UpSample(const TFCImageBuffer& current) {
  double w = 0;
  for (int i = 0; i < groupSize_; ++i) {
    w += step_;
    if (i < groupSize_ - 1 || LagAllowsFrame()) SendBlend(current, static_cast<std::size_t>(i), std::min(w, 1.0));
    UpdateLag();
  }
}

void TFCChangeRate::DownSample(const TFCImageBuffer& current) {
  if (LagAllowsFrame()) SendBlend(current, 0, std::clamp(lag_ / outputDuration_ - 1.0, 0.0, 1.0));
  UpdateLag();
}

void TFCChangeRate::SendBlend(const TFCImageBuffer& current, std::size_t index, double w) {
  TFCImageBuffer& frame = work_[index];
  if (hasPrevious_)
    blend_.Blend(previous_.Read(), current.Read(), frame.Overwrite(), current.Size(), w);
  else
    frame.Copy(current);  // nothing to blend with yet
  const auto due = [&](std::int64_t n) {
    return static_cast<std::int64_t>(std::llround(static_cast<double>(n) * outputDuration_ * kTimeUnitsPerSecond));
  };
  frame.SetTimeStamps({due(outputCounter_), due(outputCounter_ + 1), true});
  frame.SetTimeCode({outputCounter_, false});
  SendAfterProcessing(std::make_shared<TFCImageBuffer>(frame));
  ++outputCounter_;
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcchangerate, TFCChangeRate)
