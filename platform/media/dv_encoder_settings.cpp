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

std::optional<std::array<int, 4>> ParseDVTimeCode(std::string_view text) {
  // Exactly two digits per field, colons between.
  if (text.size() != 11) return std::nullopt;
  std::array<int, 4> fields{};
  constexpr std::array kLimits{24, 60, 60, 30};
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const char high = text[i * 3], low = text[i * 3 + 1];
    if (high < '0' || high > '9' || low < '0' || low > '9') return std::nullopt;
    if (i < 3 && text[i * 3 + 2] != ':') return std::nullopt;
    fields[i] = (high - '0') * 10 + (low - '0');
    if (fields[i] >= kLimits[i]) return std::nullopt;
  }
  return fields;
}

std::pair<int, int> TDSDVStreamOptions::SampleAspect(const TDSDVEncoderSettings& settings) const {
  if (!wide) return {1, 1};
  return settings.IsPAL() ? std::pair{64, 45} : std::pair{32, 27};
}

std::string TDSDVStreamOptions::Unwritable(const TDSDVEncoderSettings& settings) const {
  if (audioSampleRate != 48000 && audioSampleRate != 32000)
    return "sound at " + std::to_string(audioSampleRate) + " Hz cannot be written (48000 or 32000)";
  const auto fields = ParseDVTimeCode(timeCode);
  if (!fields) return "time code '" + timeCode + "' is not HH:MM:SS:FF";
  const int framesPerSecond = settings.IsPAL() ? 25 : 30;
  if ((*fields)[3] >= framesPerSecond)
    return "time code '" + timeCode + "' has frame " + std::to_string((*fields)[3]) + " in a stream of " +
           std::to_string(framesPerSecond) + " frames a second";
  return {};
}

}  // namespace fc::media
