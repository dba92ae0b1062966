#include "platform/audio/audio_pins.h"

namespace fc {

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TTBAudioSourcePin, TPMSourcePin)
FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TTBAudioSinkPin, TPMSinkPin)

bool TTBAudioSourcePin::SendStartWave(const TTBWaveFormatExtensible& format, std::int64_t period) {
  return Send(MakeOperation<TTBStartWaveOperation>(format, period));
}

bool TTBAudioSourcePin::SendAudio(std::shared_ptr<const TTBAudioBuffer> buffer) {
  return Send(MakeOperation<TPMSuppliedBufferOperation>(std::move(buffer)));
}

bool TTBAudioSourcePin::SendStop() { return Send(MakeOperation<TPMStopOperation>()); }

std::shared_ptr<const TTBAudioBuffer> AudioOf(const TPMOperation& operation) {
  const auto* supplied = operation ? operation->As<TPMSuppliedBufferOperation>() : nullptr;
  return supplied ? supplied->BufferAs<TTBAudioBuffer>() : nullptr;
}

}  // namespace fc
