// app_pins.h - the application's ends of a pipeline: a source that sends
// frames made from Python arrays into a component's input, and a sink that
// queues the frames reaching a pin until Python takes them.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include "contracts/video/image_pins.h"
#include "image_arguments.h"

namespace fcpy {

/// Feeds frames into one input pin: announces the stream (start-frame) on
/// the first frame and whenever the size or format changes, then sends each
/// frame; `Stop` ends the stream.
class TAppSource : public fc::TComponent, public fc::IPMPinDispatcher {
public:
  /// Connects to `input`; EFCError when it does not take frames.
  explicit TAppSource(fc::TPMPin& input);
  ~TAppSource() override;

  /// Sends a copy of `image` (three channels as blue, green, red; one as
  /// grey) at `rate` frames per second. Call without the GIL.
  void Push(const TImageView& image, double rate);
  /// Ends the stream if one runs.
  void Stop();

  bool SinkDispatch(fc::TPMSinkPin&, const fc::TPMOperation&) override { return false; }
  bool SourceDispatch(fc::TPMSourcePin&, const fc::TPMOperation&) override { return true; }

private:
  fc::TFCPMImageSourcePin output_;
  std::mutex mutex_;  // one push at a time keeps start-frame and frames in order
  bool started_ = false;
  int width_ = 0, height_ = 0;
  fc::TFCVideoFormat format_ = fc::vfRGB24;
  double rate_ = 0;
};

/// Collects the frames that reach a pin, beside whatever else it feeds.
/// Holds at most `capacity` frames: beyond that the oldest is dropped and
/// counted, so a stream nobody reads cannot exhaust memory.
class TAppSink : public fc::TComponent, public fc::IPMPinDispatcher {
public:
  static constexpr std::size_t kCapacity = 64;

  /// Attaches to `pin`: to a source pin directly, to a sink pin through the
  /// source that feeds it. EFCError when the pin carries no frames or a sink
  /// pin is not connected.
  explicit TAppSink(fc::TPMPin& pin);
  ~TAppSink() override;

  enum class TWait { Frame, Stopped, TimedOut };
  /// Waits up to `timeout` for a frame; `frame` receives it.
  TWait Take(std::shared_ptr<const fc::TFCImageBuffer>& frame, std::chrono::milliseconds timeout);
  /// Takes a frame if one is queued.
  std::shared_ptr<const fc::TFCImageBuffer> TryTake();
  /// Frames dropped since the last call.
  int TakeDropped();

  bool SinkDispatch(fc::TPMSinkPin& pin, const fc::TPMOperation& operation) override;
  bool SourceDispatch(fc::TPMSourcePin&, const fc::TPMOperation&) override { return false; }

private:
  fc::TFCPMImageSinkPin input_;
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<std::shared_ptr<const fc::TFCImageBuffer>> frames_;
  bool stopped_ = false;
  int dropped_ = 0;
};

}  // namespace fcpy
