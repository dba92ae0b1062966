#include "components/Fcmultiinput.h"

#include <algorithm>

#include "platform/runtime/error.h"

namespace fc {

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCPMQueuedImageSinkPin, TFCPMImageSinkPin)

void TFCPMQueuedImageSinkPin::Started(const TPMStartFrameOperation& start) {
  running_ = true;
  rate_ = start.Rate();
  width_ = start.Width();
  height_ = start.Height();
  pixelFormat_ = start.PixelFormat();
}

void TFCPMQueuedImageSinkPin::Stopped() {
  running_ = false;
  hasFrame_ = false;
  frame_.reset();
}

void TFCPMQueuedImageSinkPin::Received(std::shared_ptr<const TFCImageBuffer> frame) {
  frame_ = std::move(frame);
  hasFrame_ = true;
}

const TClassInfo& TFCMultiInput::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TFCMultiInput>("TFCMultiInput", &TComponent::StaticClassInfo())
                                     .Pin("OutputPin", &TFCMultiInput::GetOutputPin)
                                     .Build();
  return info;
}

TFCMultiInput::TFCMultiInput(TComponent* owner)
    : TComponent(owner), TFCFailurePolicy(static_cast<const TComponent&>(*this)), outputPin_(this, *this, "OutputPin"),
      inputPins_(this, true, "InputPins") {}

TFCMultiInput::~TFCMultiInput() { RetirePins(); }

void TFCMultiInput::RetirePins() {
  for (int i = 0; i < inputPins_.GetCount(); ++i) inputPins_.GetPin(i)->Retire();
  outputPin_.Retire();
}

TFCPMQueuedImageSinkPin& TFCMultiInput::AddInputPin(std::string name) {
  auto pin = std::make_unique<TFCPMQueuedImageSinkPin>(this, *this, std::move(name));
  TFCPMQueuedImageSinkPin& added = *pin;
  inputPins_.Add(std::move(pin));
  return added;
}

TFCPMQueuedImageSinkPin& TFCMultiInput::Input(int index) const {
  return static_cast<TFCPMQueuedImageSinkPin&>(*inputPins_.GetPin(index));
}

std::vector<TFCPMQueuedImageSinkPin*> TFCMultiInput::ConnectedInputs() const {
  std::vector<TFCPMQueuedImageSinkPin*> connected;
  for (int i = 0; i < inputPins_.GetCount(); ++i)
    if (TFCPMQueuedImageSinkPin& pin = Input(i); pin.ConnectedSource()) connected.push_back(&pin);
  return connected;
}

bool TFCMultiInput::IsStarted() const {
  auto section = ReadLock();
  return started_;
}

void TFCMultiInput::SendStartFrame(int width, int height, double rate, TFCVideoFormat format) {
  Send(MakeOperation<TPMStartFrameOperation>(width, height, rate, static_cast<int>(format)));
}

void TFCMultiInput::SendFrame(std::shared_ptr<const TFCImageBuffer> frame) {
  Send(MakeOperation<TPMSuppliedBufferOperation>(std::move(frame)));
}

bool TFCMultiInput::SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) {
  auto* input = dynamic_cast<TFCPMQueuedImageSinkPin*>(&pin);
  if (!input) return false;
  std::lock_guard order(sendOrder_);
  std::vector<TPMOperation> queued;
  {
    auto section = WriteLock();
    // Sends happen after the lock is released, so the queue is empty here
    // even when a send of ours brought this operation back to us.
    try {
      NamingOutOfMemory("handling what arrived on an input", [&] { HandleInput(*input, operation); });
    } catch (...) {
      outgoing_.clear();
      throw;
    }
    TakeFrameFailure();  // the handlers queue nothing that depended on a failed call
    queued.swap(outgoing_);
  }
  bool answered = queued.empty();
  for (const TPMOperation& out : queued) answered = outputPin_.Send(out) || answered;
  return answered;
}

bool TFCMultiInput::SourceDispatch(TPMSourcePin&, const TPMOperation& operation) {
  bool answered = false;
  for (TFCPMQueuedImageSinkPin* input : ConnectedInputs()) answered = input->Request(operation) || answered;
  return answered;
}

void TFCMultiInput::HandleInput(TFCPMQueuedImageSinkPin& pin, const TPMOperation& operation) {
  if (const auto* start = operation->As<TPMStartFrameOperation>()) {
    HandleStart(pin, *start);
  } else if (auto frame = FrameOf(operation)) {
    HandleFrame(pin, std::move(frame));
  } else if (operation->Is<TPMStopOperation>()) {
    pin.Stopped();
    TrySendStop();
  } else {
    Send(operation);
  }
}

void TFCMultiInput::HandleStart(TFCPMQueuedImageSinkPin& pin, const TPMStartFrameOperation& start) {
  pin.Started(start);
  bool anyNotRunning = false;
  double rate = 0;
  int width = 0, height = 0;
  for (const TFCPMQueuedImageSinkPin* input : ConnectedInputs()) {
    if (!input->IsRunning()) {
      anyNotRunning = true;
      continue;
    }
    rate = std::max(rate, input->Rate());
    width = std::max(width, input->Width());
    height = std::max(height, input->Height());
  }
  if (started_)
    InputStartedWhileStarted(pin);
  else if (StartIfNotAllRunning() || !anyNotRunning)
    CalculateSendStart(rate, width, height);
}

void TFCMultiInput::HandleFrame(TFCPMQueuedImageSinkPin& pin, std::shared_ptr<const TFCImageBuffer> frame) {
  pin.Received(std::move(frame));
  const std::vector<TFCPMQueuedImageSinkPin*> inputs = ConnectedInputs();
  bool anyNotRunning = false, allHaveFrames = true, sameRates = true;
  double largestRate = 0, firstRate = -1;
  for (const TFCPMQueuedImageSinkPin* input : inputs) {
    allHaveFrames = allHaveFrames && input->HasFrame();
    if (!input->IsRunning()) {
      anyNotRunning = true;
      continue;
    }
    if (firstRate < 0) firstRate = input->Rate();
    sameRates = sameRates && input->Rate() == firstRate;
    largestRate = std::max(largestRate, input->Rate());
  }
  // Frames outside a started stream (before the start, after the stop) make
  // no output: they are kept for the next set.
  if (!started_) return;
  const bool paced = (sameRates || pin.Rate() >= largestRate) && allHaveFrames;
  if (!(StartIfNotAllRunning() && anyNotRunning) && !paced) return;
  CalculateSendOutput();
  if (!anyNotRunning && !sameRates) {
    pin.ClearHasFrame();
  } else {
    for (TFCPMQueuedImageSinkPin* input : inputs) input->ClearHasFrame();
  }
}

void TFCMultiInput::CalculateSendStart(double, int, int) {
  started_ = true;
  ForgetReportedFailures();
}

void TFCMultiInput::TrySendStop() {
  if (!started_) return;
  if (GetStopOnAll()) {
    for (const TFCPMQueuedImageSinkPin* input : ConnectedInputs())
      if (input->IsRunning()) return;
  }
  IntStop();
}

void TFCMultiInput::IntStop() {
  Send(MakeOperation<TPMStopOperation>());
  started_ = false;
  for (int i = 0; i < inputPins_.GetCount(); ++i) Input(i).ClearHasFrame();
}

}  // namespace fc

FC_DEFINE_UNIT(Fcmultiinput)
