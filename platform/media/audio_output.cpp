#include "platform/media/audio_output.h"

#include <cstring>
#include <vector>

#include <SDL.h>

#include "platform/media/sdl_subsystems.h"

namespace fc::media {

namespace {

constexpr int kQueueSeconds = 2;

SDL_AudioFormat SdlFormatOf(int bits) {
  switch (bits) {
    case 8: return AUDIO_U8;
    case 16: return AUDIO_S16LSB;
    default: return AUDIO_S32LSB;  // 24-bit samples are widened to 32
  }
}

// 24-bit little-endian samples as 32-bit ones (the low byte 0).
std::vector<std::uint8_t> Widened24(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> wide(bytes.size() / 3 * 4);
  for (std::size_t i = 0, o = 0; i + 3 <= bytes.size(); i += 3, o += 4) {
    wide[o] = 0;
    std::memcpy(&wide[o + 1], &bytes[i], 3);
  }
  return wide;
}

}  // namespace

std::vector<std::string> AudioOutputDeviceNames() {
  std::vector<std::string> names{std::string(kDefaultAudioDevice), std::string(kNoAudioDevice)};
  std::string error;
  if (!AcquireSDL(SDL_INIT_AUDIO, error)) return names;
  const int count = SDL_GetNumAudioDevices(0);
  for (int i = 0; i < count; ++i)
    if (const char* name = SDL_GetAudioDeviceName(i, 0)) names.emplace_back(name);
  ReleaseSDL(SDL_INIT_AUDIO);
  return names;
}

std::string TDSAudioRenderer::Open(std::string_view device, const TTBWaveFormatExtensible& format) {
  Close();
  const int bits = format.bitsPerSample;
  if (format.channels < 1 || format.channels > 8 || format.samplesPerSecond == 0 ||
      (bits != 8 && bits != 16 && bits != 24 && bits != 32))
    return "the audio format is not one the sound device plays";
  std::string error;
  if (!AcquireSDL(SDL_INIT_AUDIO, error)) return "no sound system: " + error;
  SDL_AudioSpec wanted{};
  wanted.freq = static_cast<int>(format.samplesPerSecond);
  wanted.format = SdlFormatOf(bits);
  wanted.channels = static_cast<Uint8>(format.channels);
  wanted.samples = 1024;
  const std::string name(device);
  const bool isDefault = device.empty() || device == kDefaultAudioDevice;
  device_ = SDL_OpenAudioDevice(isDefault ? nullptr : name.c_str(), 0, &wanted, nullptr, 0);
  if (device_ == 0) {
    error = SDL_GetError();
    ReleaseSDL(SDL_INIT_AUDIO);
    return "can't open the sound device '" + (isDefault ? std::string(kDefaultAudioDevice) : name) + "': " + error;
  }
  sourceBits_ = bits;
  channels_ = format.channels;
  const std::uint32_t bytesPerSample = bits == 8 ? 1 : bits == 16 ? 2 : 4;
  limitBytes_ = format.samplesPerSecond * bytesPerSample * static_cast<std::uint32_t>(channels_) * kQueueSeconds;
  SDL_PauseAudioDevice(device_, 0);
  return {};
}

bool TDSAudioRenderer::Queue(std::span<const std::uint8_t> bytes) {
  if (device_ == 0) return false;
  std::vector<std::uint8_t> wide;
  if (sourceBits_ == 24) {
    wide = Widened24(bytes);
    bytes = wide;
  }
  if (SDL_GetQueuedAudioSize(device_) + bytes.size() > limitBytes_) {
    ++dropped_;
    return false;
  }
  return SDL_QueueAudio(device_, bytes.data(), static_cast<Uint32>(bytes.size())) == 0;
}

void TDSAudioRenderer::Close() {
  if (device_ == 0) return;
  SDL_CloseAudioDevice(device_);
  device_ = 0;
  ReleaseSDL(SDL_INIT_AUDIO);
}

}  // namespace fc::media
