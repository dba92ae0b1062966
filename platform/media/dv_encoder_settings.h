// dv_encoder_settings.h - the settings a DV encoder stage keeps: video
// format, encoding and resolution, as the published DV encoder constants.
#pragma once

#include <cstdint>
#include <string>

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

}  // namespace fc::media
