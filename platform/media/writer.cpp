#include "platform/media/writer.h"

#include <algorithm>
#include <optional>

extern "C" {
#include <libavformat/avformat.h>
#include <libavformat/avio.h>
}

#include "platform/media/codec_manager_lookup.h"
#include "platform/media/ffmpeg_error.h"
#include "platform/media/ffmpeg_log.h"
#include "platform/media/writer_streams.h"

namespace fc::media {

struct TMediaWriter::Impl {
  AVFormatContext* muxer = nullptr;
  std::unique_ptr<TWriterVideoStream> video;
  std::unique_ptr<TWriterAudioStream> audio;
  bool fileOpen = false;
  bool started = false;
  std::optional<TMediaStatus> finished;

  ~Impl() {
    video.reset();
    audio.reset();
    if (muxer && fileOpen) avio_closep(&muxer->pb);
    avformat_free_context(muxer);
  }

  int WritePacket(AVPacket& packet, AVStream& stream, AVRational encoderTimeBase) {
    av_packet_rescale_ts(&packet, encoderTimeBase, stream.time_base);
    packet.stream_index = stream.index;
    return av_interleaved_write_frame(muxer, &packet);
  }

  TPacketSink Sink() {
    return [this](AVPacket& packet, AVStream& stream, AVRational timeBase) {
      return WritePacket(packet, stream, timeBase);
    };
  }
};

TMediaWriter::TMediaWriter() : impl_(std::make_unique<Impl>()) { RouteFFmpegLog(); }

TMediaWriter::~TMediaWriter() { Finish(); }

TMediaStatus TMediaWriter::Failed(int code, std::string detail) {
  return TMediaStatus::Failure(code, std::move(detail));
}

TMediaStatus TMediaWriter::Create(std::string_view container, const std::string& fileName) {
  std::lock_guard guard(mutex_);
  if (impl_->muxer) return Failed(AVERROR(EINVAL), "the writer was created already");
  fileName_ = fileName;
  const std::string name(container);
  const int error = avformat_alloc_output_context2(&impl_->muxer, nullptr, name.empty() ? nullptr : name.c_str(),
                                                   fileName.c_str());
  if (error < 0 || !impl_->muxer)
    return Failed(error < 0 ? error : AVERROR_MUXER_NOT_FOUND,
                  "no container '" + (name.empty() ? fileName : name) + "': " + FFmpegErrorText(error));
  return {};
}

TMediaStatus TMediaWriter::OpenFile() {
  std::lock_guard guard(mutex_);
  if (!impl_->muxer) return Failed(AVERROR(EINVAL), "the writer has no container");
  if (impl_->fileOpen || (impl_->muxer->oformat->flags & AVFMT_NOFILE)) return {};
  const int error = avio_open(&impl_->muxer->pb, fileName_.c_str(), AVIO_FLAG_WRITE);
  if (error < 0) return Failed(error, fileName_ + ": " + FFmpegErrorText(error));
  impl_->fileOpen = true;
  return {};
}

TMediaStatus TMediaWriter::AddVideoStream(const TWriterVideoSettings& settings) {
  std::lock_guard guard(mutex_);
  if (!impl_->muxer || impl_->started || impl_->video) return Failed(AVERROR(EINVAL), "no video stream can be added now");
  impl_->video = std::make_unique<TWriterVideoStream>(impl_->Sink());
  TMediaStatus status = impl_->video->Open(*impl_->muxer, settings);
  if (!status) impl_->video.reset();
  return status;
}

TMediaStatus TMediaWriter::AddAudioStream(const TWriterAudioSettings& settings) {
  std::lock_guard guard(mutex_);
  if (!impl_->muxer || impl_->started || impl_->audio) return Failed(AVERROR(EINVAL), "no audio stream can be added now");
  impl_->audio = std::make_unique<TWriterAudioStream>(impl_->Sink());
  TMediaStatus status = impl_->audio->Open(*impl_->muxer, settings);
  if (!status) impl_->audio.reset();
  return status;
}

bool TMediaWriter::SetIndexing(bool index) {
  std::lock_guard guard(mutex_);
  if (!index) return true;
  if (!impl_->muxer) return false;
  if (impl_->muxer->oformat->flags & AVFMT_NOFILE) return true;
  return impl_->fileOpen && impl_->muxer->pb && impl_->muxer->pb->seekable;
}

TMediaStatus TMediaWriter::SetMetadata(const std::string& key, const std::string& value) {
  std::lock_guard guard(mutex_);
  if (!impl_->muxer || impl_->started || key.empty()) return Failed(AVERROR(EINVAL), "no tag can be set now");
  const int error = av_dict_set(&impl_->muxer->metadata, key.c_str(), value.empty() ? nullptr : value.c_str(), 0);
  if (error < 0) return Failed(error, "tag " + key + ": " + FFmpegErrorText(error));
  return {};
}

TMediaStatus TMediaWriter::Start() {
  std::lock_guard guard(mutex_);
  if (!impl_->muxer || (!impl_->fileOpen && !(impl_->muxer->oformat->flags & AVFMT_NOFILE)))
    return Failed(AVERROR(EINVAL), "the writer has no output");
  if (impl_->started) return {};
  if (!impl_->video && !impl_->audio) return Failed(AVERROR(EINVAL), "the writer has no stream");
  const int error = avformat_write_header(impl_->muxer, nullptr);
  if (error < 0) return Failed(error, "file header: " + FFmpegErrorText(error));
  impl_->started = true;
  UpdateProgress();
  return {};
}

bool TMediaWriter::IsStarted() const {
  std::lock_guard guard(mutex_);
  return impl_->started && !impl_->finished;
}

TMediaStatus TMediaWriter::WriteVideo(const std::uint8_t* pixels, std::size_t size, const TPMTimeStamps& stamps) {
  std::lock_guard guard(mutex_);
  if (!impl_->started || impl_->finished || !impl_->video) return Failed(AVERROR(EINVAL), "no video stream is running");
  TMediaStatus status = impl_->video->Write(pixels, size, stamps);
  if (status) ++videoFrames_;
  UpdateProgress();
  return status;
}

TMediaStatus TMediaWriter::WriteAudio(std::span<const std::uint8_t> pcm) {
  std::lock_guard guard(mutex_);
  if (!impl_->started || impl_->finished || !impl_->audio) return Failed(AVERROR(EINVAL), "no audio stream is running");
  std::int64_t samples = 0;
  TMediaStatus status = impl_->audio->Write(pcm, samples);
  if (status) audioSamples_ += samples;
  UpdateProgress();
  return status;
}

TMediaStatus TMediaWriter::Finish() {
  std::lock_guard guard(mutex_);
  if (impl_->finished) return *impl_->finished;
  TMediaStatus result;
  if (impl_->started) {
    // Every step runs even after a failure, so the file gets as much as can
    // be written; the first failure is the answer.
    for (TWriterStream* stream : {static_cast<TWriterStream*>(impl_->video.get()),
                                  static_cast<TWriterStream*>(impl_->audio.get())})
      if (stream)
        if (TMediaStatus status = stream->Flush(); !status && result) result = status;
    const int error = av_write_trailer(impl_->muxer);
    if (error < 0 && result) result = Failed(error, "file trailer: " + FFmpegErrorText(error));
    UpdateProgress();
    if (impl_->muxer->pb) bytes_ = std::max(bytes_.load(), avio_size(impl_->muxer->pb));
  }
  if (impl_->fileOpen) {
    const int error = avio_closep(&impl_->muxer->pb);
    impl_->fileOpen = false;
    if (error < 0 && result) result = Failed(error, "closing " + fileName_ + ": " + FFmpegErrorText(error));
  }
  impl_->finished = result;
  return result;
}

void TMediaWriter::UpdateProgress() {
  // Muxers seek back to complete their header at the end: the furthest
  // position reached is the size of the output.
  if (impl_->muxer && impl_->muxer->pb) bytes_ = std::max(bytes_.load(), avio_tell(impl_->muxer->pb));
}

TWriterProgress TMediaWriter::Progress() const { return {videoFrames_.load(), audioSamples_.load(), bytes_.load()}; }

}  // namespace fc::media

namespace fc::media {

TMediaStatus TMediaWriter::CheckEncoders(const std::string& videoCodec, const std::string& audioCodec) {
  if (!videoCodec.empty() && !FindVideoEncoder(videoCodec))
    return TMediaStatus::Failure(AVERROR_ENCODER_NOT_FOUND, "no video encoder '" + videoCodec + "'");
  if (!audioCodec.empty() && !FindAudioEncoder(audioCodec))
    return TMediaStatus::Failure(AVERROR_ENCODER_NOT_FOUND, "no audio encoder '" + audioCodec + "'");
  return {};
}

}  // namespace fc::media
