// asf_profile.h - the encoding profile of the file logger.
#pragma once

#include <cstdint>
#include <string>

#include "contracts/pins/lock.h"
#include "platform/media/writer.h"
#include "platform/runtime/components_api.h"
#include "platform/runtime/persistent.h"

namespace fc {

/// What a logged file is made of: the container, the video codec with its
/// bit rate or constant quality and key-frame interval, and the audio codec
/// with its bit rate. By default a Windows Media file: ASF with WMV2 video at
/// 1 Mbit/s, a key frame every 3 seconds, and WMA2 audio at 64 kbit/s.
/// Values are read when a recording starts; setters take the owning
/// component's write lock.
class FC_COMPONENTS_API TKSASFProfile : public TOwnedPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr const char* kContainerDefault = "asf";
  static constexpr const char* kVideoCodecDefault = "WMV2";
  static constexpr std::int32_t kVideoBitRateDefault = 1'000'000;
  static constexpr std::int32_t kVideoQualityDefault = 0;
  static constexpr std::int32_t kKeyFrameIntervalDefault = 3000;
  static constexpr const char* kAudioCodecDefault = "WMA2";
  static constexpr std::int32_t kAudioBitRateDefault = 64'000;

  TKSASFProfile(TPersistent* owner, std::string propertyName, const TPMObject& lock)
      : TOwnedPersistent(owner, std::move(propertyName)), lock_(lock) {}

  /// A container's short name ("asf", "avi", "matroska" ...).
  std::string GetContainer() const;
  void SetContainer(std::string container);
  /// A four-character code or an encoder name (see platform/media/writer.h).
  std::string GetVideoCodec() const;
  void SetVideoCodec(std::string codec);
  /// Bits per second; EFCError below 0.
  std::int32_t GetVideoBitRate() const;
  void SetVideoBitRate(std::int32_t bitRate);
  /// Constant quality 1 to 100, ruling instead of the bit rate; 0 for none.
  std::int32_t GetVideoQuality() const;
  void SetVideoQuality(std::int32_t quality);
  /// Milliseconds from one key frame to the next; 0 leaves the codec's own.
  std::int32_t GetKeyFrameInterval() const;
  void SetKeyFrameInterval(std::int32_t milliseconds);
  std::string GetAudioCodec() const;
  void SetAudioCodec(std::string codec);
  std::int32_t GetAudioBitRate() const;
  void SetAudioBitRate(std::int32_t bitRate);

  /// The writer settings of a video stream of that size, format and rate.
  media::TWriterVideoSettings VideoSettings(int width, int height, TFCVideoFormat format, double rate) const;
  /// The writer settings of an audio stream of that format.
  media::TWriterAudioSettings AudioSettings(int channels, int sampleRate, int bitsPerSample) const;

private:
  void CheckNonNegative(std::string_view property, std::int32_t value) const;

  const TPMObject& lock_;
  std::string container_ = kContainerDefault;
  std::string videoCodec_ = kVideoCodecDefault;
  std::int32_t videoBitRate_ = kVideoBitRateDefault;
  std::int32_t videoQuality_ = kVideoQualityDefault;
  std::int32_t keyFrameInterval_ = kKeyFrameIntervalDefault;
  std::string audioCodec_ = kAudioCodecDefault;
  std::int32_t audioBitRate_ = kAudioBitRateDefault;
};

}  // namespace fc
