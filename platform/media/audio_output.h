// audio_output.h - the audio output devices: the system's sound devices as
// SDL sees them, plus "default" (the system's default device) and "none"
// (no sound).
#pragma once

#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/audio/wave_format.h"
#include "platform/runtime/components_api.h"

namespace fc::media {

inline constexpr std::string_view kDefaultAudioDevice = "default";
inline constexpr std::string_view kNoAudioDevice = "none";

/// "default", "none", then the sound devices present now (none listed when
/// the sound system cannot be opened).
FC_COMPONENTS_API std::vector<std::string> AudioOutputDeviceNames();

/// Plays PCM audio on one sound device. Blocks of audio are queued to the
/// device and played at its own pace; the queue holds at most about two
/// seconds, and blocks arriving beyond that are dropped and counted rather
/// than held without limit.
class FC_COMPONENTS_API TDSAudioRenderer {
public:
  TDSAudioRenderer() = default;
  ~TDSAudioRenderer() { Close(); }
  TDSAudioRenderer(const TDSAudioRenderer&) = delete;
  TDSAudioRenderer& operator=(const TDSAudioRenderer&) = delete;

  /// Opens `device` ("default" or a name from AudioOutputDeviceNames) for
  /// interleaved integer PCM of this format (8, 16, 24 or 32 bits; 24-bit
  /// samples are widened to 32). Empty on success, else the reason.
  std::string Open(std::string_view device, const TTBWaveFormatExtensible& format);
  /// Queues a block of whole sample frames in the opened format; false when
  /// not open or the block was dropped.
  bool Queue(std::span<const std::uint8_t> bytes);
  void Close();
  bool IsOpen() const { return device_ != 0; }
  std::int64_t DroppedBlocks() const { return dropped_.load(); }

private:
  std::uint32_t device_ = 0;
  int sourceBits_ = 0;
  int channels_ = 0;
  std::uint32_t limitBytes_ = 0;
  std::atomic<std::int64_t> dropped_{0};
};

}  // namespace fc::media
