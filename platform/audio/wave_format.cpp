#include "platform/audio/wave_format.h"

#include <limits>
#include <string>

#include "platform/runtime/error.h"

namespace fc {

TTBWaveFormatExtensible MakePcmWaveFormat(int channels, std::uint32_t samplesPerSecond, int bitsPerSample) {
  auto refuse = [](const std::string& what) { return EFCError("wave format: " + what); };
  if (channels < 1 || channels > kMaxAudioChannels)
    throw refuse(std::to_string(channels) + " channels (1 to 32 allowed)");
  if (bitsPerSample != 8 && bitsPerSample != 16 && bitsPerSample != 24 && bitsPerSample != 32)
    throw refuse(std::to_string(bitsPerSample) + " bits per sample (8, 16, 24 or 32 allowed)");
  const std::uint32_t blockAlign = static_cast<std::uint32_t>(bitsPerSample / 8 * channels);
  if (samplesPerSecond == 0 || samplesPerSecond > std::numeric_limits<std::uint32_t>::max() / blockAlign)
    throw refuse(std::to_string(samplesPerSecond) + " samples per second");

  TTBWaveFormatExtensible format;
  format.formatTag = kWaveFormatExtensible;
  format.channels = static_cast<std::uint16_t>(channels);
  format.samplesPerSecond = samplesPerSecond;
  format.blockAlign = static_cast<std::uint16_t>(blockAlign);
  format.averageBytesPerSecond = blockAlign * samplesPerSecond;
  format.bitsPerSample = static_cast<std::uint16_t>(bitsPerSample);
  format.extensionSize = kWaveFormatExtensionSize;
  format.validBitsPerSample = static_cast<std::uint16_t>(bitsPerSample);
  format.channelMask = channels == 32 ? 0xFFFFFFFFu : (std::uint32_t{1} << channels) - 1;
  format.subFormat = kPcmSubFormat;
  return format;
}

}  // namespace fc
