// component_harness.h - puts one component between test pins: push start,
// frames and stop into its input, pull what comes out of its output, send
// pump requests up from below, count requests arriving from it.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "contracts/video/image_pins.h"

namespace fc::test {

class TComponentHarness : public TComponent, public IPMPinDispatcher {
public:
  TComponentHarness()
      : TComponent(nullptr), upstream(this, *this, "Upstream"), downstream(this, *this, "Downstream") {
    SetName("Harness");
  }
  ~TComponentHarness() override {
    upstream.Retire();
    downstream.Retire();
  }

  /// Connects the harness's source to the component's input pin.
  void Feed(TPMPin& componentInput) { upstream.Connect(componentInput); }
  /// Connects the component's output pin to the harness's sink.
  void Collect(TPMPin& componentOutput) { componentOutput.Connect(downstream); }

  bool PushStart(int width, int height, double rate = 30, TFCVideoFormat format = vfRGB24) {
    return upstream.SendStartFrame(width, height, rate, format);
  }
  bool PushFrame(const TFCImageBuffer& frame) {
    return upstream.SendFrame(std::make_shared<const TFCImageBuffer>(frame));
  }
  bool PushStop() { return upstream.SendStop(); }
  /// Sends a pump request up into the component's output.
  bool Pump() { return downstream.RequestFrame(this); }

  /// Everything that came out, in order.
  std::vector<TPMOperation> Received() const {
    std::lock_guard guard(mutex_);
    return received_;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& op : Received()) names.emplace_back(op->Name());
    return names;
  }
  std::vector<std::shared_ptr<const TFCImageBuffer>> Frames() const {
    std::vector<std::shared_ptr<const TFCImageBuffer>> frames;
    for (const auto& op : Received())
      if (auto f = FrameOf(op)) frames.push_back(f);
    return frames;
  }
  /// The last start-frame that came out, or null.
  const TPMStartFrameOperation* LastStart() const {
    std::lock_guard guard(mutex_);
    for (auto it = received_.rbegin(); it != received_.rend(); ++it)
      if (const auto* s = (*it)->As<TPMStartFrameOperation>()) return s;
    return nullptr;
  }
  /// Requests that arrived at the harness's source from the component.
  int RequestsReceived() const {
    std::lock_guard guard(mutex_);
    return requests_;
  }
  void ClearReceived() {
    std::lock_guard guard(mutex_);
    received_.clear();
  }

  bool SinkDispatch(TPMSinkPin&, const TPMOperation& operation) override {
    std::lock_guard guard(mutex_);
    received_.push_back(operation);
    return true;
  }
  bool SourceDispatch(TPMSourcePin&, const TPMOperation&) override {
    std::lock_guard guard(mutex_);
    ++requests_;
    return true;
  }

  TFCPMImageSourcePin upstream;
  TFCPMImageSinkPin downstream;

private:
  mutable std::mutex mutex_;
  std::vector<TPMOperation> received_;
  int requests_ = 0;
};

/// A frame of `format` whose bytes count up from `first` (wrapping at 256).
inline TFCImageBuffer CountingFrame(int width, int height, TFCVideoFormat format = vfRGB24, int first = 0) {
  TFCImageBuffer frame(width, height, format);
  Ipp8u* bytes = frame.Write();
  for (std::size_t i = 0; i < frame.Size(); ++i) bytes[i] = static_cast<Ipp8u>(first + i);
  return frame;
}

/// The bytes of a frame, for comparisons.
inline std::vector<Ipp8u> BytesOf(const TFCImageBuffer& frame) {
  return {frame.Read(), frame.Read() + frame.Size()};
}

}  // namespace fc::test
