#include "platform/media/graph_stages.h"

#include <cstring>

extern "C" {
#include <libavutil/error.h>
}

namespace fc {

TDSSourceFilter::TDSSourceFilter(std::string name, std::string failureMessage, std::size_t capacity)
    : TDSGraphStage(std::move(name)), failureMessage_(std::move(failureMessage)), capacity_(capacity ? capacity : 1) {}

TDSSourceFilter::~TDSSourceFilter() { TDSSourceFilter::Stop(); }

media::TMediaStatus TDSSourceFilter::Start() {
  std::lock_guard guard(mutex_);
  if (running_) return {};
  running_ = true;
  failureReported_ = false;
  thread_ = std::thread([this] { Deliver(); });
  return {};
}

void TDSSourceFilter::Stop() {
  {
    std::lock_guard guard(mutex_);
    running_ = false;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

bool TDSSourceFilter::Push(TDSMediaSample&& sample) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return !running_ || queue_.size() < capacity_; });
  if (!running_) return false;
  queue_.push_back(std::move(sample));
  lock.unlock();
  changed_.notify_all();
  return true;
}

// The streaming thread: delivers until stopped and the queue is empty.
void TDSSourceFilter::Deliver() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] { return !running_ || !queue_.empty(); });
    if (queue_.empty()) return;
    TDSMediaSample sample = std::move(queue_.front());
    queue_.pop_front();
    lock.unlock();
    changed_.notify_all();
    const media::TMediaStatus status =
        downstream_ ? downstream_->Receive(sample) : media::TMediaStatus::Failure(AVERROR(EINVAL), "not connected");
    if (status) {
      ++delivered_;
    } else {
      ++dropped_;
      if (!std::exchange(failureReported_, true) && Graph()) Graph()->StreamError(failureMessage_, status.code);
    }
    lock.lock();
  }
}

TDSVideoSourceFilter::TDSVideoSourceFilter(std::string name, TFCVideoFormat format, int width, int height)
    : TDSSourceFilter(std::move(name), "Can't write video sample."),
      format_(format == vfYUY2 ? vfYUY2 : vfRGB24), width_(width), height_(height) {}

std::size_t TDSVideoSourceFilter::FrameSize() const {
  if (width_ <= 0 || height_ <= 0) return 0;
  return static_cast<std::size_t>(RowBytesOf(format_, width_)) * static_cast<std::size_t>(height_);
}

bool TDSVideoSourceFilter::SendRGB(const std::uint8_t* data, std::size_t size, std::int64_t start, std::int64_t stop) {
  return Send(vfRGB24, data, size, start, stop);
}

bool TDSVideoSourceFilter::SendYUY2(const std::uint8_t* data, std::size_t size, std::int64_t start,
                                    std::int64_t stop) {
  return Send(vfYUY2, data, size, start, stop);
}

bool TDSVideoSourceFilter::Send(TFCVideoFormat format, const std::uint8_t* data, std::size_t size,
                                std::int64_t start, std::int64_t stop) {
  if (format != format_ || !data || size != FrameSize() || size == 0) return false;
  TDSMediaSample sample;
  sample.type = TDSMediaType::Video;
  sample.bytes.assign(data, data + size);
  sample.stamps = {start, stop, true};
  return Push(std::move(sample));
}

TDSAudioSourceFilter::TDSAudioSourceFilter(std::string name, const TTBWaveFormatExtensible& format)
    : TDSSourceFilter(std::move(name), "Can't write audio sample."), format_(format) {}

bool TDSAudioSourceFilter::SendAudio(std::span<const std::uint8_t> pcm, const TPMTimeStamps& stamps) {
  const std::size_t align = format_.blockAlign ? format_.blockAlign : 1;
  const std::size_t whole = pcm.size() / align * align;
  if (whole == 0) return true;
  TDSMediaSample sample;
  sample.type = TDSMediaType::Audio;
  sample.bytes.assign(pcm.begin(), pcm.begin() + static_cast<std::ptrdiff_t>(whole));
  sample.stamps = stamps;
  return Push(std::move(sample));
}

void TDSWriterStage::Stop() {
  const media::TMediaStatus status = writer_.Finish();
  if (!status && Graph()) Graph()->StreamError("Can't finish file : " + writer_.FileName() + " .", status.code);
}

media::TMediaStatus TDSWriterStage::Receive(const TDSMediaSample& sample) {
  switch (sample.type) {
    case TDSMediaType::Video: return writer_.WriteVideo(sample.bytes.data(), sample.bytes.size(), sample.stamps);
    case TDSMediaType::Audio: return writer_.WriteAudio(sample.bytes);
    case TDSMediaType::CompressedVideo: break;
  }
  return media::TMediaStatus::Failure(AVERROR(EINVAL), "the writer takes no compressed video");
}

media::TMediaStatus TDSSampleGrabber::Receive(const TDSMediaSample& sample) {
  if (callback_) callback_(sample);
  return {};
}

}  // namespace fc
