// dv_encoder_settings.h - the settings a DV encoder stage keeps: video
// format, encoding and resolution, as the published DV encoder constants.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/runtime/components_api.h"

namespace fc::media {

/// The published DV encoder constants.
inline constexpr int kDVEncoderNTSC = 2000;
inline constexpr int kDVEncoderPAL = 2001;
inline constexpr int kDVEncoderDVSD = 2007;
inline constexpr int kDVEncoderDVHD = 2008;
inline constexpr int kDVEncoderDVSL = 2009;
inline constexpr int kDVEncoderRes720 = 2012;
inline constexpr int kDVEncoderRes360 = 2013;
inline constexpr int kDVEncoderRes180 = 2014;
inline constexpr int kDVEncoderRes88 = 2015;

/// What a DV encoder stage encodes: NTSC is 720 x 480 at 30000/1001 frames
/// per second, PAL 720 x 576 at 25; both standard-definition DV (DVSD) at
/// full resolution.
struct FC_COMPONENTS_API TDSDVEncoderSettings {
  int videoFormat = kDVEncoderNTSC;
  int encoding = kDVEncoderDVSD;
  int resolution = kDVEncoderRes720;

  bool operator==(const TDSDVEncoderSettings&) const = default;

  bool IsPAL() const { return videoFormat == kDVEncoderPAL; }
  int Width() const { return 720; }
  int Height() const { return IsPAL() ? 576 : 480; }
  /// The frame rate as a fraction.
  int RateNumerator() const { return IsPAL() ? 25 : 30000; }
  int RateDenominator() const { return IsPAL() ? 1 : 1001; }
  /// The frame duration in 100-ns units (400000 for PAL, 333667 for NTSC).
  std::int64_t FrameDuration() const;

  /// Empty when the DV stream writer can write these settings; otherwise
  /// what it cannot write. Only DVSD at full resolution (720) in NTSC or PAL
  /// can be written: high-definition, long-play and reduced resolutions
  /// have no writer.
  std::string Unwritable() const;

  /// The encoder's own settings for a stream of this frame duration: PAL for
  /// 25 (or 50) frames per second, NTSC otherwise.
  static TDSDVEncoderSettings ForStream(std::int64_t frameDuration);
};

/// A time code "HH:MM:SS:FF" (hours below 24, minutes and seconds below 60,
/// frames below 30) as its four numbers; nothing when it is not one.
FC_COMPONENTS_API std::optional<std::array<int, 4>> ParseDVTimeCode(std::string_view text);

/// What a DV stream carries beside its pictures: the sound's sample rate
/// (48000, or 32000 for the 32 kHz mode; 16-bit stereo either way), the
/// picture's shape (4:3, or 16:9 flagged in every frame) and the time code
/// of its first frame ("HH:MM:SS:FF", non-drop-frame).
struct FC_COMPONENTS_API TDSDVStreamOptions {
  int audioSampleRate = 48000;
  bool wide = false;
  std::string timeCode = "00:00:00:00";

  bool operator==(const TDSDVStreamOptions&) const = default;

  /// The pixel shape, width to height, of a picture of `settings`: square
  /// for 4:3 (the DV frames are flagged 4:3), else the wide shape of PAL or
  /// NTSC.
  std::pair<int, int> SampleAspect(const TDSDVEncoderSettings& settings) const;
  /// Empty when a stream of `settings` can carry these options; otherwise
  /// what it cannot (a time code whose frame number the rate never reaches).
  std::string Unwritable(const TDSDVEncoderSettings& settings) const;
};

}  // namespace fc::media
