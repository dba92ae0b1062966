// graph_stages.h - the stages most graphs are built of: source filters that
// take video or audio from a component, a writer stage that muxes them into
// a file, and a sample grabber that hands each sample to a callback.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>

#include "contracts/video/video_format.h"
#include "platform/audio/wave_format.h"
#include "platform/media/graph.h"
#include "platform/media/writer.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// A source: takes samples from the component's thread into a queue of at
/// most `capacity` samples and delivers them to its downstream input on a
/// streaming thread of its own, started by Start. A full queue makes the
/// sender wait until there is room or the source stops. Stop delivers every
/// queued sample before the thread ends, so nothing sent before a stop is
/// lost. A sample the downstream input refuses is dropped, counted and
/// reported through the graph (StreamError with `failureMessage`), once per
/// run.
class FC_COMPONENTS_API TDSSourceFilter : public TDSGraphStage {
public:
  static constexpr std::size_t kCapacityDefault = 8;

  TDSSourceFilter(std::string name, std::string failureMessage, std::size_t capacity = kCapacityDefault);
  ~TDSSourceFilter() override;

  bool IsSource() const override { return true; }
  media::TMediaStatus Start() override;
  void Stop() override;

  /// The stage samples go to; set it while the graph is not running.
  void Connect(IDSSampleInput* downstream) { downstream_ = downstream; }
  bool IsConnected() const { return downstream_ != nullptr; }

  /// Samples the downstream input refused.
  std::int64_t Dropped() const { return dropped_.load(); }
  /// Samples delivered downstream.
  std::int64_t Delivered() const { return delivered_.load(); }

protected:
  /// Queues a sample; false when the source is not running.
  bool Push(TDSMediaSample&& sample);

private:
  void Deliver();

  std::string failureMessage_;
  std::size_t capacity_;
  IDSSampleInput* downstream_ = nullptr;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<TDSMediaSample> queue_;
  bool running_ = false;
  bool failureReported_ = false;
  std::thread thread_;
  std::atomic<std::int64_t> dropped_{0}, delivered_{0};
};

/// The video source "VideoSource": frames of one size in vfRGB24 or vfYUY2.
class FC_COMPONENTS_API TDSVideoSourceFilter : public TDSSourceFilter {
public:
  TDSVideoSourceFilter(std::string name, TFCVideoFormat format, int width, int height);

  TFCVideoFormat Format() const { return format_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  /// Bytes of one frame.
  std::size_t FrameSize() const;

  /// Queues a copy of one frame of three-byte pixels (or of YUY2 pixels)
  /// with its begin and end time. False, and nothing queued, when the source
  /// is of the other format, `size` is not one frame, or it is not running.
  bool SendRGB(const std::uint8_t* data, std::size_t size, std::int64_t start, std::int64_t stop);
  bool SendYUY2(const std::uint8_t* data, std::size_t size, std::int64_t start, std::int64_t stop);

private:
  bool Send(TFCVideoFormat format, const std::uint8_t* data, std::size_t size, std::int64_t start,
            std::int64_t stop);

  TFCVideoFormat format_;
  int width_, height_;
};

/// The audio source "AudioSource": interleaved PCM of one wave format.
class FC_COMPONENTS_API TDSAudioSourceFilter : public TDSSourceFilter {
public:
  TDSAudioSourceFilter(std::string name, const TTBWaveFormatExtensible& format);

  const TTBWaveFormatExtensible& Format() const { return format_; }
  /// Queues a copy of the whole sample frames of `pcm`.
  bool SendAudio(std::span<const std::uint8_t> pcm, const TPMTimeStamps& stamps);

private:
  TTBWaveFormatExtensible format_;
};

/// A muxer stage over a media writer: video and audio samples go into the
/// file; Stop finishes it (encoders drained, trailer and index written).
/// The writer is made and configured by the graph's builder before Run;
/// Start writes the file header.
class FC_COMPONENTS_API TDSWriterStage : public TDSGraphStage, public IDSSampleInput {
public:
  explicit TDSWriterStage(std::string name) : TDSGraphStage(std::move(name)) {}

  media::TMediaWriter& Writer() { return writer_; }
  media::TMediaStatus Start() override { return writer_.Start(); }
  void Stop() override;
  media::TMediaStatus Receive(const TDSMediaSample& sample) override;

private:
  media::TMediaWriter writer_;
};

/// The sink "SampleGrabler": hands each sample to its callback, on the
/// streaming thread that delivered it. The sample lives only for the call:
/// a callback that keeps it copies it.
class FC_COMPONENTS_API TDSSampleGrabber : public TDSGraphStage, public IDSSampleInput {
public:
  using TCallback = std::function<void(const TDSMediaSample& sample)>;

  TDSSampleGrabber(std::string name, TCallback callback)
      : TDSGraphStage(std::move(name)), callback_(std::move(callback)) {}

  media::TMediaStatus Receive(const TDSMediaSample& sample) override;

private:
  TCallback callback_;
};

}  // namespace fc
