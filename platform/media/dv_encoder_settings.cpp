#include "platform/media/dv_encoder_settings.h"

#include <cmath>
#include <cstdlib>

namespace fc::media {

namespace {
constexpr std::int64_t kUnitsPerSecond = 10'000'000;
}  // namespace

std::int64_t TDSDVEncoderSettings::FrameDuration() const {
  return static_cast<std::int64_t>(
      std::llround(static_cast<double>(kUnitsPerSecond) * RateDenominator() / RateNumerator()));
}

std::string TDSDVEncoderSettings::Unwritable() const {
  if (videoFormat != kDVEncoderNTSC && videoFormat != kDVEncoderPAL)
    return "video format " + std::to_string(videoFormat) + " is neither NTSC nor PAL";
  if (encoding == kDVEncoderDVHD) return "high-definition DV (DVHD) cannot be written";
  if (encoding == kDVEncoderDVSL) return "long-play DV (DVSL) cannot be written";
  if (encoding != kDVEncoderDVSD) return "encoding " + std::to_string(encoding) + " is not DV";
  if (resolution != kDVEncoderRes720)
    return "only full resolution (720 pixels) can be written, not resolution " + std::to_string(resolution);
  return {};
}

TDSDVEncoderSettings TDSDVEncoderSettings::ForStream(std::int64_t frameDuration) {
  TDSDVEncoderSettings settings;
  const bool pal = std::llabs(frameDuration - kUnitsPerSecond / 25) < 1000 ||
                   std::llabs(frameDuration - kUnitsPerSecond / 50) < 1000;
  settings.videoFormat = pal ? kDVEncoderPAL : kDVEncoderNTSC;
  return settings;
}

}  // namespace fc::media
