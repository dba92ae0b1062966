#include "platform/media/output_stages.h"

#include <cstring>
#include <tuple>
#include <vector>

extern "C" {
#include <libavutil/error.h>
#include <libswscale/swscale.h>
}

namespace fc {

namespace {
media::TMediaStatus ShortSample(const char* what) {
  return media::TMediaStatus::Failure(AVERROR(EINVAL), std::string(what) + ": a sample shorter than one frame");
}
}  // namespace

media::TMediaStatus TDSDeviceRenderStage::Receive(const TDSMediaSample& sample) {
  TFCImageBuffer frame(width_, height_, format_);
  if (sample.bytes.size() < frame.Size()) return ShortSample("Video Render");
  std::memcpy(frame.Write(), sample.bytes.data(), frame.Size());
  frame.SetTimeStamps(sample.stamps);
  device_.RenderFrame(frame);  // a lost device renders nothing; its loss is its own event
  return {};
}

media::TMediaStatus TDSAudioRenderStage::Receive(const TDSMediaSample& sample) {
  renderer_->Queue(sample.bytes);  // a full queue drops and counts the block
  return {};
}

TDSColorConverterStage::~TDSColorConverterStage() { sws_freeContext(scaler_); }

void TDSColorConverterStage::Connect(IDSSampleInput* downstream, int width, int height) {
  downstream_ = downstream;
  outWidth_ = width;
  outHeight_ = height;
}

media::TMediaStatus TDSColorConverterStage::Receive(const TDSMediaSample& sample) {
  if (!downstream_) return {};
  const int inStep = RowBytesOf(format_, width_);
  if (sample.bytes.size() < static_cast<std::size_t>(inStep) * static_cast<std::size_t>(height_))
    return ShortSample("Color Converter");
  if (format_ == vfRGB24 && width_ == outWidth_ && height_ == outHeight_) return downstream_->Receive(sample);
  const AVPixelFormat from = format_ == vfYUY2 ? AV_PIX_FMT_YUYV422 : AV_PIX_FMT_BGR24;
  scaler_ = sws_getCachedContext(scaler_, width_, height_, from, outWidth_, outHeight_, AV_PIX_FMT_BGR24,
                                 SWS_BICUBIC, nullptr, nullptr, nullptr);
  if (!scaler_) return media::TMediaStatus::Failure(AVERROR(EINVAL), "Color Converter: no conversion to the DV size");
  const int outStep = outWidth_ * 3;
  scaled_.type = TDSMediaType::Video;
  scaled_.bytes.resize(static_cast<std::size_t>(outStep) * static_cast<std::size_t>(outHeight_));
  scaled_.stamps = sample.stamps;
  scaled_.flags = sample.flags;
  const std::uint8_t* const in[1] = {sample.bytes.data()};
  const int inSteps[1] = {inStep};
  std::uint8_t* const out[1] = {scaled_.bytes.data()};
  const int outSteps[1] = {outStep};
  sws_scale(scaler_, in, inSteps, 0, height_, out, outSteps);
  return downstream_->Receive(scaled_);
}

media::TMediaStatus TDSDVEncoderStage::Receive(const TDSMediaSample& sample) {
  return downstream_ ? downstream_->Receive(sample) : media::TMediaStatus{};
}

media::TMediaStatus TDSDVMuxStage::Configure(const media::TDSDVEncoderSettings& settings,
                                             const media::TDSDVStreamOptions& options, bool withAudio,
                                             const TTBWaveFormatExtensible& audio) {
  settings_ = settings;
  audio_ = audio;
  withAudio_ = withAudio;
  media::TMediaWriter& writer = Writer();
  if (auto status = writer.Create("dv", device_.Output()); !status) return status;
  if (auto status = writer.OpenFile(); !status) return status;
  if (auto status = writer.SetMetadata("timecode", options.timeCode); !status) return status;
  media::TWriterVideoSettings video;
  video.width = settings.Width();
  video.height = settings.Height();
  video.format = vfRGB24;
  video.rate = static_cast<double>(settings.RateNumerator()) / settings.RateDenominator();
  video.codec = "dvvideo";
  // Standard-definition DV samples its colour 4:2:0 in PAL, 4:1:1 in NTSC.
  video.pixelFormat = settings.IsPAL() ? "yuv420p" : "yuv411p";
  // The encoder flags a frame 16:9 when its pixels are that wide.
  std::tie(video.sampleAspectNumerator, video.sampleAspectDenominator) = options.SampleAspect(settings);
  if (auto status = writer.AddVideoStream(video); !status) return status;
  if (!withAudio) return {};
  media::TWriterAudioSettings sound;
  sound.channels = audio.channels;
  sound.sampleRate = static_cast<int>(audio.samplesPerSecond);
  sound.bitsPerSample = audio.bitsPerSample;
  sound.codec = "pcm_s16le";
  sound.encoderSampleRate = options.audioSampleRate;
  sound.encoderChannels = 2;
  return writer.AddAudioStream(sound);
}

media::TMediaStatus TDSDVMuxStage::Receive(const TDSMediaSample& sample) {
  std::lock_guard guard(mutex_);
  if (sample.type == TDSMediaType::Video && soundEnded_)
    if (media::TMediaStatus status = FillSilence(videoFrames_ + 1); !status) {
      device_.WriteFailed(status.code);
      return status;
    }
  media::TMediaStatus status = TDSWriterStage::Receive(sample);
  if (!status) {
    device_.WriteFailed(status.code);
  } else if (sample.type == TDSMediaType::Video) {
    ++videoFrames_;
    device_.FrameWritten();
  } else if (sample.type == TDSMediaType::Audio && audio_.blockAlign > 0) {
    audioFrames_ += static_cast<std::int64_t>(sample.bytes.size() / audio_.blockAlign);
  }
  return status;
}

void TDSDVMuxStage::EndSound() {
  std::lock_guard guard(mutex_);
  soundEnded_ = withAudio_;
}

void TDSDVMuxStage::ResumeSound() {
  std::lock_guard guard(mutex_);
  if (!soundEnded_) return;
  soundEnded_ = false;
  if (media::TMediaStatus status = FillSilence(videoFrames_); !status) device_.WriteFailed(status.code);
}

bool TDSDVMuxStage::SoundEnded() const {
  std::lock_guard guard(mutex_);
  return soundEnded_;
}

media::TMediaStatus TDSDVMuxStage::FillSilence(std::int64_t frames) {
  if (audio_.blockAlign == 0 || audio_.samplesPerSecond == 0) return {};
  // Sample frames of the sound's own rate that `frames` pictures last,
  // rounded up.
  const std::int64_t rate = audio_.samplesPerSecond;
  const std::int64_t wanted =
      (frames * rate * settings_.RateDenominator() + settings_.RateNumerator() - 1) / settings_.RateNumerator();
  if (wanted <= audioFrames_) return {};
  // Unsigned 8-bit PCM is silent at its middle value, signed PCM at zero.
  const std::uint8_t silent = audio_.bitsPerSample == 8 ? 0x80 : 0;
  const std::vector<std::uint8_t> silence(static_cast<std::size_t>(wanted - audioFrames_) * audio_.blockAlign, silent);
  media::TMediaStatus status = Writer().WriteAudio(silence);
  if (status) audioFrames_ = wanted;
  return status;
}

media::TMediaStatus TDSAudioConverterStage::Receive(const TDSMediaSample& sample) {
  return downstream_ ? downstream_->Receive(sample) : media::TMediaStatus{};
}

}  // namespace fc
