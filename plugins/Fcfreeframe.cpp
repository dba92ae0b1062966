#include "plugins/Fcfreeframe.h"

#include <algorithm>

#include "platform/runtime/log.h"
#include "plugins/plugin_frames.h"

namespace fc {

namespace {

// The status a plug-in's failure is reported with: it has no status of its
// own, and the message says what failed.
constexpr IppStatus kPluginFailed = -1;

}  // namespace

const TClassInfo& TFCFreeFrame::StaticClassInfo() {
  using F = TFCFreeFrame;
  static const TClassInfo info = TClassBuilder<F>("TFCFreeFrame", &TFCMultiInput::StaticClassInfo())
                                     .Property("FilterFileName", &F::GetFilterFileName, &F::SetFilterFileName,
                                               std::string())
                                     .Object("Parameters", &F::GetParameters)
                                     .PinList<TPMPinList>("InputPins", &F::GetInputPins)
                                     .Build();
  return info;
}

TFCFreeFrame::TFCFreeFrame(TComponent* owner) : TFCMultiInput(owner), parameters_(this, "Parameters", *this, plugin_) {
  AddInputPin("InputPin1");
}

TFCFreeFrame::~TFCFreeFrame() {
  BeforeDestruction();
  RetirePins();
}

void TFCFreeFrame::BeforeDestruction() {
  auto section = WriteLock();
  plugin_.Release();
}

std::string TFCFreeFrame::GetFilterFileName() const {
  auto section = ReadLock();
  return fileName_;
}

void TFCFreeFrame::SetFilterFileName(std::string fileName) {
  auto section = WriteLock();
  fileName_ = std::move(fileName);
  if (!InitPopulateCaps()) {
    parameters_.Populate();  // no plug-in: no parameters; stored values stay pending
    if (!fileName_.empty()) LogWarning(NamePath() + ": plug-in '" + fileName_ + "' " + loadError_);
    return;
  }
  parameters_.Populate();
  GrowInputPins();
}

bool TFCFreeFrame::InitPopulateCaps() {
  loadError_.clear();
  if (fileName_.empty()) {
    plugin_.Release();
    return false;
  }
  return plugin_.Load(fileName_, loadError_);
}

void TFCFreeFrame::GrowInputPins() {
  const int wanted = static_cast<int>(std::min<std::uint32_t>(plugin_.MaximumInputs(), kMaximumInputPins));
  for (int i = InputCount(); i < wanted; ++i) AddInputPin("InputPin" + std::to_string(i + 1));
}

bool TFCFreeFrame::IsLoaded() const {
  auto section = ReadLock();
  return plugin_.IsLoaded();
}

std::string TFCFreeFrame::LoadError() const {
  auto section = ReadLock();
  return loadError_;
}

TFreeFrameInfo TFCFreeFrame::PluginInfo() const {
  auto section = ReadLock();
  return plugin_.Info();
}

std::string TFCFreeFrame::Description() const { return PluginInfo().description; }
std::string TFCFreeFrame::About() const { return PluginInfo().about; }
std::uint32_t TFCFreeFrame::MinorVertion() const { return PluginInfo().minorVersion; }
std::uint32_t TFCFreeFrame::MajorVertion() const { return PluginInfo().majorVersion; }
bool TFCFreeFrame::HasExtendedInfo() const { return PluginInfo().hasExtendedInfo; }
std::uint8_t TFCFreeFrame::VC_OptimizedFor() const { return PluginInfo().copyOrInPlace; }

std::uint32_t TFCFreeFrame::MinimumInputs() const {
  auto section = ReadLock();
  return plugin_.MinimumInputs();
}

std::uint32_t TFCFreeFrame::MaximumInputs() const {
  auto section = ReadLock();
  return plugin_.MaximumInputs();
}

bool TFCFreeFrame::IsValidPlugIn(const std::string& fileName) { return TFreeFramePlugin::IsValid(fileName); }

void TFCFreeFrame::ReportPluginFailure(const std::string& what) {
  ReportFailure("plug-in '" + fileName_ + "': " + what, kPluginFailed);
}

void TFCFreeFrame::CalculateSendStart(double Rate, int Width, int Height) {
  TFCMultiInput::CalculateSendStart(Rate, Width, Height);
  if (!fileName_.empty()) {
    if (!InitPopulateCaps())
      ReportPluginFailure(loadError_ + "; frames pass unchanged");
    else
      SetSize(Width, Height);
  }
  SendStartFrame(Width, Height, Rate, vfRGB24);
}

bool TFCFreeFrame::SetSize(int width, int height) {
  if (!plugin_.Instantiate(width, height)) {
    ReportPluginFailure("instantiate for " + std::to_string(width) + " x " + std::to_string(height) +
                        " refused; frames pass unchanged");
    plugin_.Release();
    return false;
  }
  parameters_.ApplyAll();
  return true;
}

bool TFCFreeFrame::EnsureInstance(IppiSize size) {
  if (!plugin_.IsLoaded()) return false;
  if (plugin_.HasInstance() && plugin_.InstanceWidth() == size.width && plugin_.InstanceHeight() == size.height)
    return true;
  return SetSize(size.width, size.height);
}

void TFCFreeFrame::IntStop() {
  plugin_.Release();
  TFCMultiInput::IntStop();
}

void TFCFreeFrame::CalculateSendOutput() {
  if (plugin_.MinimumInputs() == 1 && plugin_.MaximumInputs() == 1) return DirectFilter(Input(0));
  std::vector<const TFCImageBuffer*> frames;
  IppiSize largest{0, 0};
  for (TFCPMQueuedImageSinkPin* input : ConnectedInputs()) {
    if (frames.size() >= plugin_.MaximumInputs()) break;
    if (!input->Frame()) continue;
    frames.push_back(input->Frame().get());
    largest.width = std::max(largest.width, input->Frame()->Width());
    largest.height = std::max(largest.height, input->Frame()->Height());
  }
  if (frames.size() < plugin_.MinimumInputs()) return DirectFilter(Input(0));
  FilterSet(frames, largest);
}

void TFCFreeFrame::DirectFilter(TFCPMQueuedImageSinkPin& input) {
  if (!input.Frame()) return;
  const TFCImageBuffer& frame = *input.Frame();
  auto out = std::make_shared<TFCImageBuffer>(AsRGB24(frame));
  if (plugin_.IsLoaded() && frame.Width() > 0 && frame.Height() > 0 && EnsureInstance(frame.SizeRecord())) {
    TFCImageBuffer processed;
    if (ProcessOne(*out, processed))
      *out = std::move(processed);
    else
      ReportPluginFailure("a frame failed; frames pass unchanged");
  }
  SendFrame(std::move(out));
}

void TFCFreeFrame::FilterSet(const std::vector<const TFCImageBuffer*>& frames, IppiSize largest) {
  auto out = std::make_shared<TFCImageBuffer>(AsRGB24(*frames.front()));
  if (largest.width > 0 && largest.height > 0 && EnsureInstance(largest)) {
    TFCImageBuffer processed;
    if (ProcessCopy(frames, largest, processed))
      *out = std::move(processed);
    else
      ReportPluginFailure("a set of frames failed; input 0 passes unchanged");
  }
  SendFrame(std::move(out));
}

bool TFCFreeFrame::LayoutSucceeded(IppStatus status, const char* entry) {
  return status == ippStsNoErr || PrimitiveSucceeded(status, entry, TFCFailedFrame::PassInput);
}

bool TFCFreeFrame::ProcessOne(const TFCImageBuffer& frame, TFCImageBuffer& out) {
  const TFreeFrameInfo& info = plugin_.Info();
  if (!info.supports24Bit && !info.supports32Bit) return false;  // 16-bit frames are not made
  TFCImageBuffer work;
  if (!LayoutSucceeded(ToPluginLayout(frame, frame.SizeRecord(), plugin_.Use32Bit(), work), "ToPluginLayout"))
    return false;
  const bool copy = info.supportsFrameCopy && info.copyOrInPlace == 2 && plugin_.MinimumInputs() == 1;
  if (copy) {
    TFCImageBuffer result(work.Width(), work.Height(), work.Format());
    result.SetTimeStamps(work.TimeStamps());
    result.SetTimeCode(work.TimeCode());
    void* inputs[1] = {work.Modify()};
    if (!plugin_.ProcessFrameCopy(1, inputs, result.Modify())) return false;
    work = std::move(result);
  } else if (!plugin_.ProcessFrame(work.Modify())) {
    return false;
  }
  return LayoutSucceeded(FromPluginLayout(work, out), "FromPluginLayout");
}

bool TFCFreeFrame::ProcessCopy(const std::vector<const TFCImageBuffer*>& frames, IppiSize size,
                               TFCImageBuffer& out) {
  const TFreeFrameInfo& info = plugin_.Info();
  if (!info.supports24Bit && !info.supports32Bit) return false;
  std::vector<TFCImageBuffer> works(frames.size());
  std::vector<void*> inputs;
  for (std::size_t i = 0; i < frames.size(); ++i) {
    if (!LayoutSucceeded(ToPluginLayout(AsRGB24(*frames[i]), size, plugin_.Use32Bit(), works[i]), "ToPluginLayout"))
      return false;
    inputs.push_back(works[i].Modify());
  }
  TFCImageBuffer result(size.width, size.height, plugin_.Use32Bit() ? vfRGB32 : vfRGB24);
  result.SetTimeStamps(frames.front()->TimeStamps());
  result.SetTimeCode(frames.front()->TimeCode());
  if (!plugin_.ProcessFrameCopy(static_cast<std::uint32_t>(inputs.size()), inputs.data(), result.Modify()))
    return false;
  return LayoutSucceeded(FromPluginLayout(result, out), "FromPluginLayout");
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcfreeframe, TFCFreeFrame)
