// The audio stream of the writer: interleaved PCM resampled to the
// encoder's sample format and rate, cut into the encoder's frame size.
#include <algorithm>
#include <vector>

extern "C" {
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include "platform/media/codec_manager_lookup.h"
#include "platform/media/ffmpeg_error.h"
#include "platform/media/writer_streams.h"

namespace fc::media {

namespace {

AVSampleFormat InputSampleFormat(int bits) {
  switch (bits) {
    case 8: return AV_SAMPLE_FMT_U8;
    case 16: return AV_SAMPLE_FMT_S16;
    case 24:
    case 32: return AV_SAMPLE_FMT_S32;
    default: return AV_SAMPLE_FMT_NONE;
  }
}

// The encoder's rate nearest to the one asked for.
int NearestSampleRate(const AVCodec& codec, int wanted) {
  if (!codec.supported_samplerates) return wanted;
  int best = codec.supported_samplerates[0];
  for (const int* rate = codec.supported_samplerates; *rate; ++rate)
    if (std::abs(*rate - wanted) < std::abs(best - wanted)) best = *rate;
  return best;
}

}  // namespace

TWriterAudioStream::~TWriterAudioStream() {
  swr_free(&resampler_);
  if (fifo_) av_audio_fifo_free(fifo_);
}

TMediaStatus TWriterAudioStream::Open(AVFormatContext& muxer, const TWriterAudioSettings& settings) {
  settings_ = settings;
  const AVSampleFormat inputFormat = InputSampleFormat(settings.bitsPerSample);
  if (inputFormat == AV_SAMPLE_FMT_NONE || settings.channels < 1 || settings.sampleRate <= 0)
    return TMediaStatus::Failure(AVERROR(EINVAL), "unsupported audio format");
  const AVCodec* codec = FindAudioEncoder(settings.codec);
  if (!codec) return TMediaStatus::Failure(AVERROR_ENCODER_NOT_FOUND, "no audio encoder '" + settings.codec + "'");
  encoder_ = avcodec_alloc_context3(codec);
  if (!encoder_) return TMediaStatus::Failure(AVERROR(ENOMEM), "out of memory");
  encoder_->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
  encoder_->sample_rate =
      NearestSampleRate(*codec, settings.encoderSampleRate > 0 ? settings.encoderSampleRate : settings.sampleRate);
  av_channel_layout_default(&encoder_->ch_layout,
                            settings.encoderChannels > 0 ? settings.encoderChannels : settings.channels);
  encoder_->time_base = {1, encoder_->sample_rate};
  if (settings.bitRate > 0) encoder_->bit_rate = settings.bitRate;
  if (muxer.oformat->flags & AVFMT_GLOBALHEADER) encoder_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  int error = avcodec_open2(encoder_, codec, nullptr);
  if (error < 0) return TMediaStatus::Failure(error, std::string(codec->name) + ": " + FFmpegErrorText(error));
  if (TMediaStatus status = AddStream(muxer); !status) return status;

  AVChannelLayout inputLayout;
  av_channel_layout_default(&inputLayout, settings.channels);
  error = swr_alloc_set_opts2(&resampler_, &encoder_->ch_layout, encoder_->sample_fmt, encoder_->sample_rate,
                              &inputLayout, inputFormat, settings.sampleRate, 0, nullptr);
  av_channel_layout_uninit(&inputLayout);
  if (error >= 0) error = swr_init(resampler_);
  if (error < 0) return TMediaStatus::Failure(error, "resampler: " + FFmpegErrorText(error));
  fifo_ = av_audio_fifo_alloc(encoder_->sample_fmt, encoder_->ch_layout.nb_channels,
                              std::max(encoder_->frame_size, 1024));
  if (!fifo_) return TMediaStatus::Failure(AVERROR(ENOMEM), "out of memory");
  return {};
}

TMediaStatus TWriterAudioStream::Write(std::span<const std::uint8_t> pcm, std::int64_t& samples) {
  const int bytesPerFrame = settings_.bitsPerSample / 8 * settings_.channels;
  const int count = static_cast<int>(std::min<std::size_t>(pcm.size() / bytesPerFrame, 1 << 24));
  samples = count;
  if (count == 0) return {};
  const std::uint8_t* input = pcm.data();
  if (settings_.bitsPerSample == 24) {
    // Little-endian 24-bit samples become the top bytes of 32-bit ones.
    widened_.resize(static_cast<std::size_t>(count) * settings_.channels);
    for (std::size_t i = 0; i < widened_.size(); ++i) {
      const std::uint8_t* b = pcm.data() + 3 * i;
      widened_[i] = static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) << 8 |
                                              static_cast<std::uint32_t>(b[1]) << 16 |
                                              static_cast<std::uint32_t>(b[2]) << 24);
    }
    input = reinterpret_cast<const std::uint8_t*>(widened_.data());
  }
  if (TMediaStatus status = Resample(input, count); !status) return status;
  return EncodeQueued(false);
}

TMediaStatus TWriterAudioStream::Resample(const std::uint8_t* input, int samples) {
  const int room = swr_get_out_samples(resampler_, samples);
  if (room <= 0) return {};
  const int channels = encoder_->ch_layout.nb_channels;  // after the resampler
  std::vector<std::uint8_t*> planes(static_cast<std::size_t>(channels));
  int error = av_samples_alloc(planes.data(), nullptr, channels, room, encoder_->sample_fmt, 0);
  if (error < 0) return TMediaStatus::Failure(error, "audio buffer: " + FFmpegErrorText(error));
  const std::uint8_t* in[1] = {input};
  const int converted = swr_convert(resampler_, planes.data(), room, input ? in : nullptr, input ? samples : 0);
  if (converted > 0) error = av_audio_fifo_write(fifo_, reinterpret_cast<void**>(planes.data()), converted);
  av_freep(&planes[0]);
  if (converted < 0) return TMediaStatus::Failure(converted, "resampler: " + FFmpegErrorText(converted));
  if (error < 0) return TMediaStatus::Failure(error, "audio queue: " + FFmpegErrorText(error));
  return {};
}

// Encodes whole encoder frames from the queue; with `final`, the rest too,
// padded with silence where the encoder takes only whole frames.
TMediaStatus TWriterAudioStream::EncodeQueued(bool final) {
  const bool variable = (encoder_->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE) != 0;
  const int frameSize = encoder_->frame_size > 0 ? encoder_->frame_size : 1024;
  while (av_audio_fifo_size(fifo_) >= frameSize || (final && av_audio_fifo_size(fifo_) > 0)) {
    const int take = std::min(frameSize, av_audio_fifo_size(fifo_));
    av_frame_unref(frame_);
    frame_->nb_samples = variable || encoder_->frame_size == 0 ? take : frameSize;
    frame_->format = encoder_->sample_fmt;
    frame_->sample_rate = encoder_->sample_rate;
    int error = av_channel_layout_copy(&frame_->ch_layout, &encoder_->ch_layout);
    if (error >= 0) error = av_frame_get_buffer(frame_, 0);
    if (error < 0) return TMediaStatus::Failure(error, "audio frame: " + FFmpegErrorText(error));
    av_samples_set_silence(frame_->data, 0, frame_->nb_samples, encoder_->ch_layout.nb_channels,
                           encoder_->sample_fmt);
    av_audio_fifo_read(fifo_, reinterpret_cast<void**>(frame_->data), take);
    frame_->pts = nextPts_;
    nextPts_ += frame_->nb_samples;
    if (TMediaStatus status = Encode(frame_); !status) return status;
  }
  return {};
}

TMediaStatus TWriterAudioStream::Flush() {
  if (!encoder_ || !resampler_) return TWriterStream::Flush();
  if (TMediaStatus status = Resample(nullptr, 0); !status) return status;
  if (TMediaStatus status = EncodeQueued(true); !status) return status;
  return TWriterStream::Flush();
}

}  // namespace fc::media
