#include "contracts/video/common_filter.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace fc {

const TClassInfo& TFCCommonFilter::StaticClassInfo() {
  using F = TFCCommonFilter;
  static const TClassInfo info = TClassBuilder<F>("TFCCommonFilter", &TComponent::StaticClassInfo())
                                     .Pin("InputPin", &F::GetInputPin)
                                     .Pin("OutputPin", &F::GetOutputPin)
                                     .Pin("EnablePin", &F::GetEnablePin)
                                     .Property("Enabled", &F::GetEnabled, &F::SetEnabled, kEnabledDefault)
                                     .Build();
  return info;
}

TFCCommonFilter::TFCCommonFilter(TComponent* owner)
    : TComponent(owner), TFCFailurePolicy(static_cast<const TComponent&>(*this)), inputPin_(this, *this, "InputPin"), outputPin_(this, *this, "OutputPin"),
      enablePin_(this, "EnablePin", [this](TPMStatePin<bool>&, const bool& v) { EnablePinChanged(v); }) {
  enablePin_.SetValue(kEnabledDefault);
}

TFCCommonFilter::~TFCCommonFilter() { RetirePins(); }

void TFCCommonFilter::RetirePins() {
  inputPin_.Retire();
  outputPin_.Retire();
  enablePin_.Retire();
}

bool TFCCommonFilter::GetEnabled() const {
  auto section = ReadLock();
  return enabled_;
}

void TFCCommonFilter::SetEnabled(bool enabled) {
  {
    auto section = WriteLock();
    enabled_ = enabled;
  }
  enablePin_.SetValue(enabled);
}

void TFCCommonFilter::FilterInternalOperation(const TFCImageBuffer&, IFCImageBuffer&) {}

void TFCCommonFilter::SetVideoFormat(TFCImageBuffer& Buffer) { Buffer.ConvertTo(vfRGB24); }

void TFCCommonFilter::SetSizeRate(int&, int&, int) {}

TFCVideoFormat TFCCommonFilter::OutputFormat(TFCVideoFormat input) {
  TFCImageBuffer probe(0, 0, input);  // empty: converting it costs nothing
  SetVideoFormat(probe);
  return probe.Format();
}

bool TFCCommonFilter::SinkDispatch(TPMSinkPin&, const TPMOperation& operation) {
  if (const auto* start = operation->As<TPMStartFrameOperation>()) return StartStream(*start);
  if (auto frame = FrameOf(operation)) return ProcessFrame(operation, *frame);
  if (operation->Is<TPMStopOperation>()) {
    auto section = WriteLock();
    Stop();
  }
  return outputPin_.Send(operation);
}

bool TFCCommonFilter::SourceDispatch(TPMSourcePin&, const TPMOperation& operation) {
  return inputPin_.Request(operation);
}

namespace {

// The filters handling a start-frame on this thread, outermost first. A
// start that reaches one of them again has come round a loop, which would
// send it (and every frame after it) round for ever.
thread_local std::vector<const TComponent*> startsInProgress;

class TStartInProgress {
public:
  explicit TStartInProgress(const TComponent& filter) {
    const auto at = std::find(startsInProgress.begin(), startsInProgress.end(), &filter);
    if (at != startsInProgress.end()) {
      std::string loop;
      for (auto it = at; it != startsInProgress.end(); ++it) loop += (*it)->NamePath() + " > ";
      throw EFCError(loop + filter.NamePath() + ": the stream comes back round a loop of connections");
    }
    startsInProgress.push_back(&filter);
  }
  ~TStartInProgress() { startsInProgress.pop_back(); }
  TStartInProgress(const TStartInProgress&) = delete;
  TStartInProgress& operator=(const TStartInProgress&) = delete;
};

}  // namespace

bool TFCCommonFilter::StartStream(const TPMStartFrameOperation& start) {
  const TStartInProgress inProgress(*this);
  int width = start.Width(), height = start.Height();
  const TFCVideoFormat input = IsVideoFormat(start.PixelFormat())
                                   ? static_cast<TFCVideoFormat>(start.PixelFormat())
                                   : vfRGB24;
  TFCVideoFormat output = input;
  double rate = start.Rate();
  ForgetReportedFailures();
  NamingOutOfMemory("starting a stream", [&] {
    auto section = WriteLock();
    streamSize_ = {width, height};
    streamRate_ = start.Rate();
    Reset();
    if (enabled_) {
      SetSizeRate(width, height, static_cast<int>(std::lround(start.Rate())));
      output = OutputFormat(input);
      rate = OutputRate(rate);
    }
  });
  return outputPin_.SendStartFrame(width, height, rate, output);
}

IFCImageBuffer TFCCommonFilter::FrameAfterFailure(TFCFailedFrame failed, const TFCImageBuffer& frame,
                                                  std::vector<IFCImageBuffer>& extra) {
  extra.clear();
  if (failed == TFCFailedFrame::Drop) return nullptr;
  // The input as it arrived, in the format the start-frame announced.
  auto passed = std::make_shared<TFCImageBuffer>(frame);
  SetVideoFormat(*passed);
  return passed;
}

bool TFCCommonFilter::ProcessFrame(const TPMOperation& operation, const TFCImageBuffer& frame) {
  IFCImageBuffer out;
  std::vector<IFCImageBuffer> extra;
  {
    auto section = WriteLock();
    if (!enabled_) {
      section.Release();
      return outputPin_.Send(operation);
    }
    NamingOutOfMemory("processing a frame", [&] {
      TakeFrameFailure();  // a mark left from outside a frame is not this frame's
      auto in = std::make_shared<TFCImageBuffer>(frame);
      SetVideoFormat(*in);
      out = CanInline() ? in : std::make_shared<TFCImageBuffer>(*in);
      pendingOutputs_.clear();
      FilterInternalOperation(*in, out);
      extra.swap(pendingOutputs_);
      if (const auto failed = TakeFrameFailure()) out = FrameAfterFailure(*failed, frame, extra);
    });
  }
  bool answered = false;
  for (auto& f : extra) answered = outputPin_.SendFrame(std::move(f)) || answered;
  if (out) answered = outputPin_.SendFrame(std::move(out)) || answered;
  return answered;
}

}  // namespace fc
