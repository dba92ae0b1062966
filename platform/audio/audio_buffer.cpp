#include "platform/audio/audio_buffer.h"

#include <algorithm>
#include <string>

#include "platform/audio/wave_format.h"
#include "platform/runtime/error.h"

namespace fc {

namespace {

// Largest block accepted. A block is a short slice of a stream (a typical
// one holds 1024 sample frames), so 256 MB is ample and keeps a bad sample
// count from exhausting memory.
constexpr std::int64_t kMaxBlockBytes = std::int64_t{256} << 20;

std::uint8_t SilenceOf(int bitsPerSample) { return bitsPerSample == 8 ? 128 : 0; }

}  // namespace

TTBAudioBuffer::TTBAudioBuffer(std::int64_t samples, int channels, int bitsPerSample,
                               std::uint32_t sampleRate) {
  MakePcmWaveFormat(channels, sampleRate, bitsPerSample);  // checks the format
  const std::int64_t blockAlign = bitsPerSample / 8 * channels;
  if (samples < 0 || samples > kMaxBlockBytes / blockAlign)
    throw EFCError("audio buffer: " + std::to_string(samples) + " samples of " + std::to_string(blockAlign) +
                   " bytes exceed the 256 MB a block may hold");
  samples_ = samples;
  channels_ = channels;
  bitsPerSample_ = bitsPerSample;
  sampleRate_ = sampleRate;
  bytes_.assign(static_cast<std::size_t>(samples * blockAlign), SilenceOf(bitsPerSample));
}

void TTBAudioBuffer::Fill(std::span<const std::uint8_t> bytes) {
  const std::size_t whole = bytes_.empty() ? 0 : std::min(bytes.size(), bytes_.size()) / BlockAlign() * BlockAlign();
  std::copy_n(bytes.begin(), whole, bytes_.begin());
  std::fill(bytes_.begin() + static_cast<std::ptrdiff_t>(whole), bytes_.end(), SilenceOf(bitsPerSample_));
}

}  // namespace fc
