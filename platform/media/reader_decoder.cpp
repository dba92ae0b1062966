// reader_decoder.cpp - one stream's decoder and its conversion to delivered
// bytes.
#include "platform/media/reader_decoder.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
}

#include <cstring>

#include "contracts/pins/time_stamps.h"
#include "platform/media/codec_threads.h"

namespace fc::media {

namespace {

constexpr AVRational kTimeUnits{1, static_cast<int>(kTimeUnitsPerSecond)};
// Row steps of the scaler's output are kept at this multiple so it takes
// the same code path as any other caller with aligned frames.
constexpr int kRowAlign = 64;

std::int64_t FrameDurationOf(const AVStream& stream) {
  AVRational rate = stream.avg_frame_rate;
  if (rate.num <= 0 || rate.den <= 0) rate = stream.r_frame_rate;
  if (rate.num <= 0 || rate.den <= 0) return 0;
  return kTimeUnitsPerSecond * rate.den / rate.num;
}

TMajorType MajorTypeOf(const AVStream& stream) {
  switch (stream.codecpar->codec_type) {
    case AVMEDIA_TYPE_VIDEO: return TMajorType::Video;
    case AVMEDIA_TYPE_AUDIO: return TMajorType::Audio;
    default: return TMajorType::Other;
  }
}

}  // namespace

TOutputProps UndecodedProps(const AVStream& stream) {
  TOutputProps props;
  props.majorType = MajorTypeOf(stream);
  props.codecName = avcodec_get_name(stream.codecpar->codec_id);
  if (props.majorType == TMajorType::Video) {
    props.width = stream.codecpar->width;
    props.height = stream.codecpar->height;
    props.averageTimePerFrame = FrameDurationOf(stream);
  } else if (props.majorType == TMajorType::Audio) {
    props.channels = stream.codecpar->ch_layout.nb_channels;
    props.samplesPerSecond = static_cast<std::uint32_t>(std::max(stream.codecpar->sample_rate, 0));
  }
  return props;
}

TStreamDecoder::~TStreamDecoder() {
  swr_free(&resampler_);
  sws_freeContext(scaler_);
  av_frame_free(&frame_);
  avcodec_free_context(&codec_);
}

int TStreamDecoder::Open(const AVStream& stream, std::int64_t startTime) {
  const AVCodec* decoder = avcodec_find_decoder(stream.codecpar->codec_id);
  if (!decoder) return AVERROR_DECODER_NOT_FOUND;
  AVCodecContext* codec = avcodec_alloc_context3(decoder);
  if (!codec) return AVERROR(ENOMEM);
  int code = avcodec_parameters_to_context(codec, stream.codecpar);
  codec->thread_count = CodecThreads(0);  // as many as the decoder can use
  if (code >= 0) code = avcodec_open2(codec, decoder, nullptr);
  if (code < 0 || !(frame_ = av_frame_alloc())) {
    avcodec_free_context(&codec);
    return code < 0 ? code : AVERROR(ENOMEM);
  }
  codec_ = codec;
  timeBase_ = stream.time_base;
  startTime_ = startTime == AV_NOPTS_VALUE ? 0 : av_rescale_q(startTime, AV_TIME_BASE_Q, timeBase_);
  props_ = UndecodedProps(stream);
  if (props_.majorType == TMajorType::Video) {
    props_.subtype = TSubtype::RGB24;
    props_.formatType = TFormatType::VideoInfo;
    props_.width = codec->width;
    props_.height = codec->height;
  } else if (props_.majorType == TMajorType::Audio) {
    props_.subtype = TSubtype::PCM;
    props_.formatType = TFormatType::WaveFormatEx;
    props_.channels = codec->ch_layout.nb_channels;
    props_.samplesPerSecond = static_cast<std::uint32_t>(codec->sample_rate);
    props_.bitsPerSample = 16;
    props_.blockAlign = 2 * props_.channels;
    props_.sampleSize = static_cast<std::uint32_t>(props_.blockAlign);
  }
  return 0;
}

void TStreamDecoder::Flush() {
  if (codec_) avcodec_flush_buffers(codec_);
  nextTime_ = 0;
}

int TStreamDecoder::Decode(const AVPacket* packet, const TSampleSink& sink) {
  int code = avcodec_send_packet(codec_, packet);
  // A decoder that refuses one broken packet keeps going with the next.
  if (code < 0 && code != AVERROR(EAGAIN) && code != AVERROR_EOF) return packet ? 0 : code;
  bool more = true;
  while (more) {
    code = Receive(sink, more);
    if (code < 0) return code;
  }
  return 0;
}

int TStreamDecoder::Receive(const TSampleSink& sink, bool& more) {
  const int code = avcodec_receive_frame(codec_, frame_);
  if (code == AVERROR(EAGAIN) || code == AVERROR_EOF) {
    more = false;
    return 0;
  }
  if (code < 0) return code;
  const bool video = props_.majorType == TMajorType::Video;
  const bool converted = video ? ConvertVideo(*frame_) : ConvertAudio(*frame_);
  if (converted) {
    const std::int64_t time = TimeOf(*frame_);
    const std::int64_t duration =
        video ? props_.averageTimePerFrame
              : av_rescale(frame_->nb_samples, kTimeUnitsPerSecond, std::max(props_.samplesPerSecond, 1u));
    nextTime_ = time + duration;
    more = sink(time, duration, bytes_);
  }
  av_frame_unref(frame_);
  return 0;
}

std::int64_t TStreamDecoder::TimeOf(const AVFrame& frame) {
  const std::int64_t stamp = frame.best_effort_timestamp;
  if (stamp == AV_NOPTS_VALUE) return nextTime_;
  return av_rescale_q(stamp - startTime_, timeBase_, kTimeUnits);
}

bool TStreamDecoder::ConvertVideo(const AVFrame& frame) {
  // A size change mid-stream (possible in network streams) is dropped: the
  // output's size is fixed by its media type.
  if (frame.width != props_.width || frame.height != props_.height) return false;
  scaler_ = sws_getCachedContext(scaler_, frame.width, frame.height, static_cast<AVPixelFormat>(frame.format),
                                 frame.width, frame.height, AV_PIX_FMT_BGR24, kReaderScalerFlags, nullptr,
                                 nullptr, nullptr);
  if (!scaler_) return false;
  const int rowBytes = frame.width * 3;
  const int step = FFALIGN(rowBytes, kRowAlign);
  aligned_.resize(static_cast<std::size_t>(step) * frame.height + kRowAlign);
  std::uint8_t* out = reinterpret_cast<std::uint8_t*>(FFALIGN(reinterpret_cast<std::uintptr_t>(aligned_.data()), kRowAlign));
  std::uint8_t* planes[4] = {out, nullptr, nullptr, nullptr};
  int steps[4] = {step, 0, 0, 0};
  if (sws_scale(scaler_, frame.data, frame.linesize, 0, frame.height, planes, steps) != frame.height) return false;
  bytes_.resize(static_cast<std::size_t>(rowBytes) * frame.height);
  av_image_copy_plane(bytes_.data(), rowBytes, out, step, rowBytes, frame.height);
  return true;
}

bool TStreamDecoder::ConvertAudio(const AVFrame& frame) {
  if (!resampler_) {
    AVChannelLayout layout;
    if (frame.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || av_channel_layout_copy(&layout, &frame.ch_layout) < 0)
      av_channel_layout_default(&layout, frame.ch_layout.nb_channels);
    const int code = swr_alloc_set_opts2(&resampler_, &layout, AV_SAMPLE_FMT_S16, frame.sample_rate, &layout,
                                         static_cast<AVSampleFormat>(frame.format), frame.sample_rate, 0, nullptr);
    av_channel_layout_uninit(&layout);
    if (code < 0 || swr_init(resampler_) < 0) {
      swr_free(&resampler_);
      return false;
    }
  }
  if (frame.ch_layout.nb_channels != props_.channels) return false;
  const int room = swr_get_out_samples(resampler_, frame.nb_samples);
  if (room < 0) return false;
  bytes_.resize(static_cast<std::size_t>(room) * props_.blockAlign);
  std::uint8_t* out = bytes_.data();
  const int made = swr_convert(resampler_, &out, room, const_cast<const std::uint8_t**>(frame.extended_data),
                               frame.nb_samples);
  if (made < 0) return false;
  bytes_.resize(static_cast<std::size_t>(made) * props_.blockAlign);
  return made > 0;
}

}  // namespace fc::media
