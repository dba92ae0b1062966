#include "contracts/video/image_pins.h"

namespace fc {

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCPMImageSourcePin, TPMSourcePin)
FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCPMImageSinkPin, TPMSinkPin)

bool TFCPMImageSourcePin::SendStartFrame(int width, int height, double rate, TFCVideoFormat format) {
  return Send(MakeOperation<TPMStartFrameOperation>(width, height, rate, static_cast<int>(format)));
}

bool TFCPMImageSourcePin::SendFrame(std::shared_ptr<const TFCImageBuffer> frame) {
  return Send(MakeOperation<TPMSuppliedBufferOperation>(std::move(frame)));
}

bool TFCPMImageSourcePin::SendStop() { return Send(MakeOperation<TPMStopOperation>()); }

bool TFCPMImageSinkPin::RequestFrame(const TComponent* sender) {
  return Request(MakeOperation<TPMPumpRequestOperation>(sender));
}

std::shared_ptr<const TFCImageBuffer> FrameOf(const TPMOperation& operation) {
  const auto* supplied = operation ? operation->As<TPMSuppliedBufferOperation>() : nullptr;
  return supplied ? supplied->BufferAs<TFCImageBuffer>() : nullptr;
}

}  // namespace fc
