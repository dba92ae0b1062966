// wave_format.h - the format record of a PCM audio stream, as announced by a
// start-wave operation.
#pragma once

#include <array>
#include <cstdint>

#include "platform/runtime/components_api.h"

namespace fc {

/// The extensible wave format record: the classic fields, then an extension
/// of 22 bytes (valid bits, channel mask, sub-format identifier).
struct FC_COMPONENTS_API TTBWaveFormatExtensible {
  std::uint16_t formatTag = 0;
  std::uint16_t channels = 0;
  std::uint32_t samplesPerSecond = 0;
  std::uint32_t averageBytesPerSecond = 0;
  std::uint16_t blockAlign = 0;
  std::uint16_t bitsPerSample = 0;
  std::uint16_t extensionSize = 0;
  std::uint16_t validBitsPerSample = 0;
  std::uint32_t channelMask = 0;
  std::array<std::uint8_t, 16> subFormat{};

  bool operator==(const TTBWaveFormatExtensible&) const = default;
};

/// The format tag of the extensible record.
inline constexpr std::uint16_t kWaveFormatExtensible = 0xFFFE;
/// Bytes of the extension that follows the classic fields.
inline constexpr std::uint16_t kWaveFormatExtensionSize = 22;
/// The sub-format identifier of integer PCM samples, as stored in the record
/// (a GUID in its byte order: 00000001-0000-0010-8000-00AA00389B71).
inline constexpr std::array<std::uint8_t, 16> kPcmSubFormat = {
    0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

/// Most channels a stream may have: each needs a bit of the 32-bit mask.
inline constexpr int kMaxAudioChannels = 32;

/// The record of an interleaved integer PCM stream: block alignment =
/// (bits / 8) x channels, average bytes per second = block alignment x
/// samples per second, valid bits = bits per sample, channel mask =
/// 2^channels - 1 (the first `channels` speaker positions). EFCError naming
/// the value at fault unless channels is 1 to 32, bits per sample 8, 16, 24
/// or 32, and the sample rate above 0 with a byte rate that fits 32 bits.
FC_COMPONENTS_API TTBWaveFormatExtensible MakePcmWaveFormat(int channels, std::uint32_t samplesPerSecond, int bitsPerSample);

}  // namespace fc
