#include "pipeline.h"

#include <chrono>
#include <cstring>

#include <pybind11/numpy.h>

#include "contracts/pins/pin_graph.h"
#include "contracts/pins/pin_path.h"
#include "package/catalogue.h"
#include "platform/runtime/error.h"
#include "platform/runtime/form_loader.h"
#include "property_values.h"
#include "status_errors.h"

namespace fcpy {

namespace {

// Rounds of generated frames a pumped pull waits for its pin before it
// gives up: components that hold frames back (delays, rate changers) send
// after a few, a pin nothing reaches never does.
constexpr int kPumpRounds = 1000;
// How often a waiting pull looks for Ctrl-C.
constexpr std::chrono::milliseconds kWaitSlice{50};

void CollectGenerators(fc::TComponent& component, std::vector<fc::TFCCommonGen*>& out) {
  if (auto* generator = dynamic_cast<fc::TFCCommonGen*>(&component)) out.push_back(generator);
  for (int i = 0; i < component.ComponentCount(); ++i) CollectGenerators(*component.Components(i), out);
}

fc::TComponent* FindIn(fc::TComponent& root, std::string_view name) {
  if (fc::SameIdentifier(root.Name(), name)) return &root;
  for (int i = 0; i < root.ComponentCount(); ++i)
    if (fc::TComponent* found = FindIn(*root.Components(i), name)) return found;
  return nullptr;
}

// "Comp.Rest" split at the first dot; EFCError without one.
std::pair<std::string, std::string> SplitPath(const std::string& path, const char* form) {
  const std::size_t dot = path.find('.');
  if (dot == std::string::npos || dot == 0 || dot + 1 == path.size())
    throw fc::EFCError("'" + path + "': expects " + form);
  return {path.substr(0, dot), path.substr(dot + 1)};
}

void RefuseLoops(fc::TComponent& root) {
  if (const auto loop = fc::FindLoop(root); !loop.empty())
    throw fc::EFCError(root.NamePath() + ": the connections form a loop, " + fc::LoopText(loop));
}

}  // namespace

TPipeline::TPipeline(const std::string& name) : root_(std::make_unique<fc::TComponent>(nullptr)) {
  root_->SetName(name);
}

TPipeline::TPipeline(std::unique_ptr<fc::TComponent> root) : root_(std::move(root)) {}

std::unique_ptr<TPipeline> TPipeline::Load(const std::string& path) {
  return std::unique_ptr<TPipeline>(new TPipeline(fc::LoadFormFile(path, fc::PackageCatalogue().ClassLookup())));
}

TPipeline::~TPipeline() {
  // The application's pins go before the components they are connected to.
  py::gil_scoped_release release;
  for (fc::TFCCommonGen* generator : Generators()) generator->Stop();
  sources_.clear();
  root_.reset();
}

fc::TComponent& TPipeline::ComponentNamed(const std::string& name) const {
  fc::TComponent* component = FindIn(*root_, name);
  if (!component) throw fc::EFCError("no component named " + name + " in " + root_->NamePath());
  return *component;
}

void TPipeline::Add(const std::string& className, const std::string& name, const py::kwargs& settings) {
  const fc::TClassInfo* info = fc::PackageCatalogue().FindClass(className);
  if (!info) throw fc::EFCError("unknown class '" + className + "'");
  if (root_->FindComponent(name)) throw fc::EFCError(root_->NamePath() + " already has a component named " + name);
  std::unique_ptr<fc::TComponent> component = info->Create(root_.get());
  component->SetName(name);
  for (auto [property, value] : settings)
    PropertyFromPython(fc::ResolveProperty(*component, property.cast<std::string>()), value);
  component.release();  // the root owns it now
}

void TPipeline::Connect(const std::string& source, const std::string& sink) {
  PinAt(source).Connect(PinAt(sink));
}

std::vector<std::string> TPipeline::Components() const {
  std::vector<std::string> names;
  for (int i = 0; i < root_->ComponentCount(); ++i) names.push_back(root_->Components(i)->Name());
  return names;
}

fc::TPMPin& TPipeline::PinAt(const std::string& path) {
  const auto [component, pin] = SplitPath(path, "<component>.<pin>");
  return fc::PinAtPath(ComponentNamed(component), pin);
}

py::object TPipeline::Get(const std::string& path) {
  const auto [component, property] = SplitPath(path, "<component>.<property>");
  return PropertyToPython(fc::ResolveProperty(ComponentNamed(component), property));
}

void TPipeline::Set(const std::string& path, py::handle value) {
  const auto [component, property] = SplitPath(path, "<component>.<property>");
  PropertyFromPython(fc::ResolveProperty(ComponentNamed(component), property), value);
}

std::vector<fc::TFCCommonGen*> TPipeline::Generators() const {
  std::vector<fc::TFCCommonGen*> generators;
  if (root_) CollectGenerators(*root_, generators);
  return generators;
}

void TPipeline::Push(const std::string& pinPath, py::handle image, double rate) {
  TSource source = SourceImage(image, "image", TChannels::Either);
  fc::TPMPin& pin = PinAt(pinPath);
  auto& feeder = sources_[&pin];
  if (!feeder) {
    RefuseLoops(*root_);
    feeder = std::make_unique<TAppSource>(pin);
  }
  TAppSource& target = *feeder;
  py::gil_scoped_release release;
  target.Push(source.view, rate);
}

void TPipeline::EndStream(const std::string& pinPath) {
  auto found = sources_.find(&PinAt(pinPath));
  if (found == sources_.end()) return;
  py::gil_scoped_release release;
  found->second->Stop();
}

void TPipeline::Start() {
  RefuseLoops(*root_);
  py::gil_scoped_release release;
  for (fc::TFCCommonGen* generator : Generators()) generator->Start();
  started_ = true;
}

void TPipeline::Stop() {
  // The map changes only under the GIL: read it before letting go.
  std::vector<TAppSource*> sources;
  for (auto& [pin, source] : sources_) sources.push_back(source.get());
  const std::vector<fc::TFCCommonGen*> generators = Generators();
  started_ = false;
  py::gil_scoped_release release;
  for (fc::TFCCommonGen* generator : generators) generator->Stop();
  for (TAppSource* source : sources) source->Stop();
}

TFrameIterator::TFrameIterator(TPipeline& pipeline, const std::string& pin, int count, double timeout)
    : pipeline_(pipeline), pin_(pin), remaining_(count), timeout_(timeout) {
  sink_ = std::make_unique<TAppSink>(pipeline.PinAt(pin));
  if (!pipeline.Running()) pumped_ = pipeline.Generators();
  if (pumped_.empty()) return;
  RefuseLoops(pipeline.Root());
  py::gil_scoped_release release;
  // Pumped, the generators make a frame when asked rather than on a clock.
  for (fc::TFCCommonGen* generator : pumped_) {
    if (generator->GetPacing() == fc::gpInternalClock) generator->SetPacing(fc::gpPump);
    generator->Start();
  }
}

TFrameIterator::~TFrameIterator() { Finish(); }

void TFrameIterator::Finish() {
  py::gil_scoped_release release;
  for (fc::TFCCommonGen* generator : pumped_) generator->Stop();
  pumped_.clear();
  sink_.reset();
}

std::shared_ptr<const fc::TFCImageBuffer> TFrameIterator::Pump() {
  for (int round = 0; round < kPumpRounds; ++round) {
    if (auto frame = sink_->TryTake()) return frame;
    bool anyRunning = false;
    {
      py::gil_scoped_release release;
      for (fc::TFCCommonGen* generator : pumped_) {
        generator->GenerateNow();
        anyRunning = anyRunning || generator->IsRunning();
      }
    }
    if (PyErr_CheckSignals() != 0) throw py::error_already_set();
    if (!anyRunning) return sink_->TryTake();
  }
  throw fc::EFCError("no frame reached " + pin_ + " in " + std::to_string(kPumpRounds) + " generated frames");
}

std::shared_ptr<const fc::TFCImageBuffer> TFrameIterator::Await() {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                                           timeout_ >= 0 ? timeout_ : 1e9));
  std::shared_ptr<const fc::TFCImageBuffer> frame;
  for (;;) {
    TAppSink::TWait result;
    {
      py::gil_scoped_release release;
      result = sink_->Take(frame, kWaitSlice);
    }
    if (result == TAppSink::TWait::Frame) return frame;
    if (result == TAppSink::TWait::Stopped) return nullptr;
    if (PyErr_CheckSignals() != 0) throw py::error_already_set();
    if (Clock::now() >= deadline) {
      PyErr_SetString(PyExc_TimeoutError, ("no frame reached " + pin_ + " in time").c_str());
      throw py::error_already_set();
    }
  }
}

py::object TFrameIterator::Next() {
  if (remaining_ == 0 || !sink_) {
    Finish();
    throw py::stop_iteration();
  }
  auto frame = pumped_.empty() ? Await() : Pump();
  if (!frame) {
    Finish();
    throw py::stop_iteration();
  }
  if (const int dropped = sink_->TakeDropped())
    py::module_::import("warnings").attr("warn")(std::to_string(dropped) + " frames at " + pin_ +
                                                 " were dropped: pull them faster than they arrive");
  if (remaining_ > 0) --remaining_;
  return FrameToArray(std::move(frame));
}

py::array FrameToArray(std::shared_ptr<const fc::TFCImageBuffer> frame) {
  if (frame->Format() != fc::vfRGB24 && frame->Format() != fc::vfGray8) {
    auto converted = std::make_shared<fc::TFCImageBuffer>(*frame);
    converted->ConvertTo(fc::vfRGB24);
    frame = std::move(converted);
  }
  const int channels = frame->Format() == fc::vfGray8 ? 1 : 3;
  const std::vector<py::ssize_t> shape =
      channels == 1 ? std::vector<py::ssize_t>{frame->Height(), frame->Width()}
                    : std::vector<py::ssize_t>{frame->Height(), frame->Width(), 3};
  // Held only here, the frame's pixels become the array's: the array keeps
  // the frame alive, and writing into it changes no other frame.
  if (frame.use_count() == 1 && !frame->IsShared()) {
    auto* owner = new std::shared_ptr<const fc::TFCImageBuffer>(frame);
    py::capsule keep(owner, [](void* p) { delete static_cast<std::shared_ptr<const fc::TFCImageBuffer>*>(p); });
    return py::array_t<Ipp8u>(shape, const_cast<Ipp8u*>(frame->Read()), keep);
  }
  py::array_t<Ipp8u> copy(shape);
  std::memcpy(copy.mutable_data(), frame->Read(), frame->Size());
  return copy;
}

}  // namespace fcpy
