#include "app_pins.h"

#include <cstring>

#include "contracts/video/image_pins.h"
#include "platform/runtime/error.h"

namespace fcpy {

TAppSource::TAppSource(fc::TPMPin& input) : fc::TComponent(nullptr), output_(this, *this) {
  SetName("PythonSource");
  output_.Connect(input);
}

TAppSource::~TAppSource() { output_.Retire(); }

void TAppSource::Push(const TImageView& image, double rate) {
  const fc::TFCVideoFormat format = image.channels == 3 ? fc::vfRGB24 : fc::vfGray8;
  auto frame = fc::MakeImageBuffer(image.width, image.height, format);
  Ipp8u* pixels = frame->Overwrite();  // every row is copied in below
  for (int y = 0; y < image.height; ++y)
    std::memcpy(pixels + static_cast<std::ptrdiff_t>(y) * frame->Step(),
                image.data + static_cast<std::ptrdiff_t>(y) * image.step, static_cast<std::size_t>(image.RowBytes()));
  std::lock_guard guard(mutex_);
  if (!started_ || image.width != width_ || image.height != height_ || format != format_ || rate != rate_) {
    output_.SendStartFrame(image.width, image.height, rate, format);
    started_ = true;
    width_ = image.width;
    height_ = image.height;
    format_ = format;
    rate_ = rate;
  }
  output_.SendFrame(std::move(frame));
}

void TAppSource::Stop() {
  std::lock_guard guard(mutex_);
  if (!started_) return;
  started_ = false;
  output_.SendStop();
}

TAppSink::TAppSink(fc::TPMPin& pin) : fc::TComponent(nullptr), input_(this, *this) {
  SetName("PythonSink");
  if (pin.MediaType() != fc::kImageMedia) throw fc::EFCError(pin.NamePath() + " does not carry frames");
  if (pin.CanSend()) {
    pin.Connect(input_);
    return;
  }
  fc::TPMPin* source = pin.ConnectedSource();
  if (!source) throw fc::EFCError(pin.NamePath() + " is not connected, so no frames reach it");
  source->Connect(input_);
}

TAppSink::~TAppSink() { input_.Retire(); }

bool TAppSink::SinkDispatch(fc::TPMSinkPin&, const fc::TPMOperation& operation) {
  std::lock_guard guard(mutex_);
  if (operation->Is<fc::TPMStopOperation>()) {
    stopped_ = true;
  } else if (auto frame = fc::FrameOf(operation)) {
    stopped_ = false;
    if (frames_.size() == kCapacity) {
      frames_.pop_front();
      ++dropped_;
    }
    frames_.push_back(std::move(frame));
  } else if (operation->Is<fc::TPMStartOperation>()) {
    stopped_ = false;
  }
  arrived_.notify_all();
  return true;
}

TAppSink::TWait TAppSink::Take(std::shared_ptr<const fc::TFCImageBuffer>& frame, std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  arrived_.wait_for(lock, timeout, [&] { return !frames_.empty() || stopped_; });
  if (frames_.empty()) return stopped_ ? TWait::Stopped : TWait::TimedOut;
  frame = std::move(frames_.front());
  frames_.pop_front();
  return TWait::Frame;
}

std::shared_ptr<const fc::TFCImageBuffer> TAppSink::TryTake() {
  std::lock_guard guard(mutex_);
  if (frames_.empty()) return nullptr;
  auto frame = std::move(frames_.front());
  frames_.pop_front();
  return frame;
}

int TAppSink::TakeDropped() {
  std::lock_guard guard(mutex_);
  const int dropped = dropped_;
  dropped_ = 0;
  return dropped;
}

}  // namespace fcpy
