#include "media/asf_profile.h"

#include <cmath>

#include "platform/runtime/error.h"

namespace fc {

const TClassInfo& TKSASFProfile::StaticClassInfo() {
  using P = TKSASFProfile;
  static const TClassInfo info =
      TClassBuilder<P>("TKSASFProfile", &TPersistent::StaticClassInfo())
          .Property("Container", &P::GetContainer, &P::SetContainer, std::string(kContainerDefault))
          .Property("VideoCodec", &P::GetVideoCodec, &P::SetVideoCodec, std::string(kVideoCodecDefault))
          .Property("VideoBitRate", &P::GetVideoBitRate, &P::SetVideoBitRate, kVideoBitRateDefault)
          .Property("VideoQuality", &P::GetVideoQuality, &P::SetVideoQuality, kVideoQualityDefault)
          .Property("KeyFrameInterval", &P::GetKeyFrameInterval, &P::SetKeyFrameInterval, kKeyFrameIntervalDefault)
          .Property("AudioCodec", &P::GetAudioCodec, &P::SetAudioCodec, std::string(kAudioCodecDefault))
          .Property("AudioBitRate", &P::GetAudioBitRate, &P::SetAudioBitRate, kAudioBitRateDefault)
          .Build();
  return info;
}

void TKSASFProfile::CheckNonNegative(std::string_view property, std::int32_t value) const {
  if (value < 0) throw EFCError::ForProperty(NamePath(), property, "must not be negative");
}

std::string TKSASFProfile::GetContainer() const {
  auto section = lock_.ReadLock();
  return container_;
}
void TKSASFProfile::SetContainer(std::string container) {
  auto section = lock_.WriteLock();
  container_ = std::move(container);
}
std::string TKSASFProfile::GetVideoCodec() const {
  auto section = lock_.ReadLock();
  return videoCodec_;
}
void TKSASFProfile::SetVideoCodec(std::string codec) {
  auto section = lock_.WriteLock();
  videoCodec_ = std::move(codec);
}
std::int32_t TKSASFProfile::GetVideoBitRate() const {
  auto section = lock_.ReadLock();
  return videoBitRate_;
}
void TKSASFProfile::SetVideoBitRate(std::int32_t bitRate) {
  CheckNonNegative("VideoBitRate", bitRate);
  auto section = lock_.WriteLock();
  videoBitRate_ = bitRate;
}
std::int32_t TKSASFProfile::GetVideoQuality() const {
  auto section = lock_.ReadLock();
  return videoQuality_;
}
void TKSASFProfile::SetVideoQuality(std::int32_t quality) {
  if (quality < 0 || quality > 100) throw EFCError::ForProperty(NamePath(), "VideoQuality", "must lie between 0 and 100");
  auto section = lock_.WriteLock();
  videoQuality_ = quality;
}
std::int32_t TKSASFProfile::GetKeyFrameInterval() const {
  auto section = lock_.ReadLock();
  return keyFrameInterval_;
}
void TKSASFProfile::SetKeyFrameInterval(std::int32_t milliseconds) {
  CheckNonNegative("KeyFrameInterval", milliseconds);
  auto section = lock_.WriteLock();
  keyFrameInterval_ = milliseconds;
}
std::string TKSASFProfile::GetAudioCodec() const {
  auto section = lock_.ReadLock();
  return audioCodec_;
}
void TKSASFProfile::SetAudioCodec(std::string codec) {
  auto section = lock_.WriteLock();
  audioCodec_ = std::move(codec);
}
std::int32_t TKSASFProfile::GetAudioBitRate() const {
  auto section = lock_.ReadLock();
  return audioBitRate_;
}
void TKSASFProfile::SetAudioBitRate(std::int32_t bitRate) {
  CheckNonNegative("AudioBitRate", bitRate);
  auto section = lock_.WriteLock();
  audioBitRate_ = bitRate;
}

media::TWriterVideoSettings TKSASFProfile::VideoSettings(int width, int height, TFCVideoFormat format,
                                                         double rate) const {
  auto section = lock_.ReadLock();
  media::TWriterVideoSettings video;
  video.width = width;
  video.height = height;
  video.format = format;
  video.rate = rate > 0 ? rate : 25;
  video.codec = videoCodec_;
  video.bitRate = videoBitRate_;
  video.quality = videoQuality_;
  video.keyFrameInterval = static_cast<int>(std::lround(keyFrameInterval_ / 1000.0 * video.rate));
  return video;
}

media::TWriterAudioSettings TKSASFProfile::AudioSettings(int channels, int sampleRate, int bitsPerSample) const {
  auto section = lock_.ReadLock();
  media::TWriterAudioSettings audio;
  audio.channels = channels;
  audio.sampleRate = sampleRate;
  audio.bitsPerSample = bitsPerSample;
  audio.codec = audioCodec_;
  audio.bitRate = audioBitRate_;
  return audio;
}

}  // namespace fc
