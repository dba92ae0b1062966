// audio_buffer.h - a block of interleaved PCM audio, as carried by a
// supplied-buffer operation on audio pins.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "contracts/pins/operations.h"
#include "contracts/pins/time_stamps.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// `Samples()` sample frames of `Channels()` interleaved channels, each
/// sample `BitsPerSample()` bits of little-endian integer PCM, at
/// `SampleRate()` sample frames per second, with the begin and end time of
/// the block. A new buffer is silent (8-bit PCM is unsigned: its silence is
/// 128; wider samples are signed: 0).
class FC_COMPONENTS_API TTBAudioBuffer : public IPMDataBuffer {
public:
  TTBAudioBuffer() = default;
  /// EFCError naming the value at fault unless channels is 1 to 32, bits per
  /// sample 8, 16, 24 or 32, the rate above 0 and samples at least 0.
  TTBAudioBuffer(std::int64_t samples, int channels, int bitsPerSample, std::uint32_t sampleRate);

  std::int64_t Samples() const { return samples_; }
  int Channels() const { return channels_; }
  int BitsPerSample() const { return bitsPerSample_; }
  std::uint32_t SampleRate() const { return sampleRate_; }
  /// Bytes of one sample frame (all channels).
  int BlockAlign() const { return bitsPerSample_ / 8 * channels_; }

  std::span<const std::uint8_t> Bytes() const { return bytes_; }
  std::span<std::uint8_t> Bytes() { return bytes_; }
  /// Fills the block from `bytes`: as many whole sample frames as fit, the
  /// rest silent.
  void Fill(std::span<const std::uint8_t> bytes);

  const TPMTimeStamps& TimeStamps() const { return timeStamps_; }
  void SetTimeStamps(const TPMTimeStamps& stamps) { timeStamps_ = stamps; }

private:
  std::int64_t samples_ = 0;
  int channels_ = 0;
  int bitsPerSample_ = 0;
  std::uint32_t sampleRate_ = 0;
  std::vector<std::uint8_t> bytes_;
  TPMTimeStamps timeStamps_;
};

}  // namespace fc
