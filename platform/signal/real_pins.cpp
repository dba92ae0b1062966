#include "platform/signal/real_pins.h"

namespace fc {

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TWCPMRealSourcePin, TPMSourcePin)
FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TWCPMComboRealSinkPin, TPMSinkPin)

bool TWCPMRealSourcePin::SendStartSampleRate(double samplesPerSecond) {
  return Send(MakeOperation<TPMStartSampleRateOperation>(samplesPerSecond));
}

bool TWCPMRealSourcePin::SendStartIntensity(int valuesPerBlock, double valuesPerSecond) {
  return Send(MakeOperation<TPMStartIntensityOperation>(valuesPerBlock, valuesPerSecond));
}

bool TWCPMRealSourcePin::SendBuffer(std::shared_ptr<const TWCRealBuffer> block) {
  return Send(MakeOperation<TPMSuppliedBufferOperation>(std::move(block)));
}

bool TWCPMRealSourcePin::SendReal(double value) { return Send(MakeOperation<TPMSuppliedRealOperation>(value)); }

bool TWCPMRealSourcePin::SendSingle(float value) { return Send(MakeOperation<TPMSuppliedSingleOperation>(value)); }

bool TWCPMRealSourcePin::SendStop() { return Send(MakeOperation<TPMStopOperation>()); }

bool TWCPMComboRealSinkPin::RequestMasterPump(const TComponent* sender) {
  return Request(MakeOperation<TPMMasterPumpOperation>(sender));
}

namespace {

std::shared_ptr<const TWCRealBuffer> OneSample(double value) {
  auto block = MakeRealBuffer(1);
  block->Write()[0] = value;
  return block;
}

}  // namespace

std::shared_ptr<const TWCRealBuffer> RealSamplesOf(const TPMOperation& operation) {
  if (!operation) return nullptr;
  if (const auto* supplied = operation->As<TPMSuppliedBufferOperation>()) return supplied->BufferAs<TWCRealBuffer>();
  if (const auto* real = operation->As<TPMSuppliedRealOperation>()) return OneSample(real->Value());
  if (const auto* single = operation->As<TPMSuppliedSingleOperation>()) return OneSample(single->Value());
  return nullptr;
}

}  // namespace fc
