#include "media/digital_video.h"

#include "media/dv_format.h"
#include "platform/runtime/error.h"

namespace fc {

const TEnumInfo& DVAudioModeInfo() {
  static const TEnumInfo info("TFCDVAudioMode", {"dvam48kHz", "dvam32kHz"});
  return info;
}

const TEnumInfo& DVAspectRatioInfo() {
  static const TEnumInfo info("TFCDVAspectRatio", {"dvar4x3", "dvar16x9"});
  return info;
}

const TClassInfo& TFCDigitalVideo::StaticClassInfo() {
  using D = TFCDigitalVideo;
  static const TClassInfo info =
      TClassBuilder<D>("TFCDigitalVideo", &TPersistent::StaticClassInfo())
          .Enum("AudioMode", &D::GetAudioMode, &D::SetAudioMode, DVAudioModeInfo(), kAudioModeDefault)
          .Enum("AspectRatio", &D::GetAspectRatio, &D::SetAspectRatio, DVAspectRatioInfo(), kAspectRatioDefault)
          .Property("TimeCode", &D::GetTimeCode, &D::SetTimeCode, std::string(kTimeCodeDefault))
          .Build();
  return info;
}

void TFCDigitalVideo::SetAudioMode(TFCDVAudioMode v) {
  CheckEnumOrdinal(*this, "AudioMode", DVAudioModeInfo(), v);
  Store(audioMode_, v);
}

void TFCDigitalVideo::SetAspectRatio(TFCDVAspectRatio v) {
  CheckEnumOrdinal(*this, "AspectRatio", DVAspectRatioInfo(), v);
  Store(aspectRatio_, v);
}

void TFCDigitalVideo::SetTimeCode(std::string v) {
  if (!media::ParseDVTimeCode(v))
    throw EFCError::ForProperty(NamePath(), "TimeCode", "'" + v + "' is not a time code HH:MM:SS:FF");
  Store(timeCode_, v);
}

media::TDSDVStreamOptions TFCDigitalVideo::StreamOptions() const {
  auto section = Lock().ReadLock();
  media::TDSDVStreamOptions options;
  options.audioSampleRate = audioMode_ == dvam32kHz ? 32000 : 48000;
  options.wide = aspectRatio_ == dvar16x9;
  options.timeCode = timeCode_;
  return options;
}

}  // namespace fc
