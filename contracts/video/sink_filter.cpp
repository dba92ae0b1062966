#include "contracts/video/sink_filter.h"

namespace fc {

const TClassInfo& TFCSinkFilter::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TFCSinkFilter>("TFCSinkFilter", &TComponent::StaticClassInfo())
                                     .Pin("InputPin", &TFCSinkFilter::GetInputPin)
                                     .Build();
  return info;
}

TFCSinkFilter::TFCSinkFilter(TComponent* owner)
    : TComponent(owner), TFCFailurePolicy(static_cast<const TComponent&>(*this)), inputPin_(this, *this, "InputPin") {}

TFCSinkFilter::~TFCSinkFilter() { RetirePins(); }

bool TFCSinkFilter::SinkDispatch(TPMSinkPin&, const TPMOperation& operation) {
  if (const auto* start = operation->As<TPMStartFrameOperation>()) {
    ForgetReportedFailures();
    NamingOutOfMemory("starting a stream", [&] {
      auto section = WriteLock();
      IntStart(start->Width(), start->Height());
    });
    return true;
  }
  if (auto frame = FrameOf(operation)) {
    NamingOutOfMemory("processing a frame", [&] { ProcessImage(*frame); });
    return true;
  }
  if (operation->Is<TPMStopOperation>()) {
    auto section = WriteLock();
    Stop();
    return true;
  }
  return false;
}

bool TFCSinkFilter::SourceDispatch(TPMSourcePin&, const TPMOperation& operation) {
  return inputPin_.Request(operation);
}

}  // namespace fc
