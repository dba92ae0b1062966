// digital_video.h - what a video output's DV stream carries beside its
// pictures: the sound's mode, the picture's shape and the starting time code.
#pragma once

#include <cstdint>
#include <string>

#include "contracts/pins/locked_persistent.h"
#include "platform/media/dv_encoder_settings.h"
#include "platform/runtime/components_api.h"
#include "platform/runtime/properties.h"

namespace fc {

// Of a fixed size, so a value outside the identifiers can be held and refused.
enum TFCDVAudioMode : std::int32_t { dvam48kHz, dvam32kHz };
enum TFCDVAspectRatio : std::int32_t { dvar4x3, dvar16x9 };

FC_COMPONENTS_API const TEnumInfo& DVAudioModeInfo();
FC_COMPONENTS_API const TEnumInfo& DVAspectRatioInfo();

/// The DV stream's settings beyond its format:
/// - `AudioMode`: the sound in the stream, 16-bit stereo at 48 kHz
///   (dvam48kHz, the default) or at 32 kHz (dvam32kHz);
/// - `AspectRatio`: the picture's shape flagged in every DV frame, dvar4x3
///   (the default) or dvar16x9;
/// - `TimeCode`: the time code of the first frame, "HH:MM:SS:FF"
///   (non-drop-frame; "00:00:00:00" by default); frames count up from it.
/// They are taken when the DV chain is built (a stream start). Guarded by
/// the owner's lock; a value out of range raises EFCError naming the
/// property.
class FC_COMPONENTS_API TFCDigitalVideo : public TPMLockedPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr TFCDVAudioMode kAudioModeDefault = dvam48kHz;
  static constexpr TFCDVAspectRatio kAspectRatioDefault = dvar4x3;
  static constexpr const char* kTimeCodeDefault = "00:00:00:00";

  using TPMLockedPersistent::TPMLockedPersistent;

  TFCDVAudioMode GetAudioMode() const { return Load(audioMode_); }
  TFCDVAspectRatio GetAspectRatio() const { return Load(aspectRatio_); }
  std::string GetTimeCode() const { return Load(timeCode_); }
  void SetAudioMode(TFCDVAudioMode v);
  void SetAspectRatio(TFCDVAspectRatio v);
  void SetTimeCode(std::string v);

  /// The options the DV multiplexer writes the stream with.
  media::TDSDVStreamOptions StreamOptions() const;

private:
  TFCDVAudioMode audioMode_ = kAudioModeDefault;
  TFCDVAspectRatio aspectRatio_ = kAspectRatioDefault;
  std::string timeCode_ = kTimeCodeDefault;
};

}  // namespace fc
