// audio_pins.h - pins that carry PCM audio: a start-wave operation with the
// stream's format, blocks of samples (supplied-buffer operations carrying a
// TTBAudioBuffer), pause, resume and stop.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "contracts/pins/pin.h"
#include "platform/audio/audio_buffer.h"
#include "platform/audio/wave_format.h"
#include "platform/runtime/components_api.h"

namespace fc {

inline constexpr std::string_view kAudioMedia = "Audio";

/// An audio stream starts with this format. It is a start-sample-rate
/// operation at the format's sample rate; `Period` is the pacing period of
/// the stream that goes with it (a video frame duration, or the duration of
/// a block), in 100-ns units, 0 when there is none.
class FC_COMPONENTS_API TTBStartWaveOperation : public TPMStartSampleRateOperation {
public:
  TTBStartWaveOperation(const TTBWaveFormatExtensible& format, std::int64_t period)
      : TPMStartSampleRateOperation(format.samplesPerSecond), format_(format), period_(period) {}
  std::string_view Name() const override { return "start-wave"; }
  const TTBWaveFormatExtensible& Format() const { return format_; }
  std::int64_t Period() const { return period_; }

private:
  TTBWaveFormatExtensible format_;
  std::int64_t period_;
};

/// An output pin for audio.
class FC_COMPONENTS_API TTBAudioSourcePin : public TPMSourcePin {
  FC_DECLARE_CLASS_INFO()
public:
  TTBAudioSourcePin(TComponent* owner, IPMPinDispatcher& dispatcher, std::string name = "AudioOutputPin")
      : TPMSourcePin(owner, dispatcher, std::move(name), std::string(kAudioMedia)) {}

  bool SendStartWave(const TTBWaveFormatExtensible& format, std::int64_t period);
  /// Sends the block; the sinks share it read-only.
  bool SendAudio(std::shared_ptr<const TTBAudioBuffer> buffer);
  bool SendStop();
};

/// An input pin for audio.
class FC_COMPONENTS_API TTBAudioSinkPin : public TPMSinkPin {
  FC_DECLARE_CLASS_INFO()
public:
  TTBAudioSinkPin(TComponent* owner, IPMPinDispatcher& dispatcher, std::string name = "AudioInputPin")
      : TPMSinkPin(owner, dispatcher, std::move(name), std::string(kAudioMedia)) {}
};

/// The audio block an operation carries, or null when it carries none.
FC_COMPONENTS_API std::shared_ptr<const TTBAudioBuffer> AudioOf(const TPMOperation& operation);

}  // namespace fc
