#include "platform/media/writer_streams.h"

#include "platform/media/ffmpeg_error.h"

namespace fc::media {

TWriterStream::~TWriterStream() {
  av_frame_free(&frame_);
  av_packet_free(&packet_);
  avcodec_free_context(&encoder_);
}

TMediaStatus TWriterStream::AddStream(AVFormatContext& muxer) {
  stream_ = avformat_new_stream(&muxer, nullptr);
  packet_ = av_packet_alloc();
  frame_ = av_frame_alloc();
  if (!stream_ || !packet_ || !frame_) return TMediaStatus::Failure(AVERROR(ENOMEM), "out of memory");
  stream_->time_base = encoder_->time_base;
  const int error = avcodec_parameters_from_context(stream_->codecpar, encoder_);
  if (error < 0) return TMediaStatus::Failure(error, "stream parameters: " + FFmpegErrorText(error));
  return {};
}

TMediaStatus TWriterStream::Encode(AVFrame* frame) {
  int error = avcodec_send_frame(encoder_, frame);
  if (error < 0 && !(frame == nullptr && error == AVERROR_EOF))
    return TMediaStatus::Failure(error, std::string(encoder_->codec->name) + ": " + FFmpegErrorText(error));
  while ((error = avcodec_receive_packet(encoder_, packet_)) >= 0) {
    const int written = sink_(*packet_, *stream_, encoder_->time_base);
    av_packet_unref(packet_);
    if (written < 0) return TMediaStatus::Failure(written, "writing a packet: " + FFmpegErrorText(written));
  }
  if (error == AVERROR(EAGAIN) || error == AVERROR_EOF) return {};
  return TMediaStatus::Failure(error, std::string(encoder_->codec->name) + ": " + FFmpegErrorText(error));
}

TMediaStatus TWriterStream::Flush() { return encoder_ ? Encode(nullptr) : TMediaStatus{}; }

}  // namespace fc::media
