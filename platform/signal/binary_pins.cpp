#include "platform/signal/binary_pins.h"

namespace fc {

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TWCPMBinarySourcePin, TPMSourcePin)
FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TWCPMBinarySinkPin, TPMSinkPin)

bool TWCPMBinarySourcePin::SendStartVideoCompression(const TFCBitmapInfoHeader& input,
                                                     const TFCBitmapInfoHeader& output,
                                                     std::vector<std::uint8_t> codecData, TFCFourCC fourCC,
                                                     double rate) {
  return Send(MakeOperation<TFCStartVideoCompressionOperation>(input, output, std::move(codecData), fourCC, rate));
}

bool TWCPMBinarySourcePin::SendBuffer(IWCBinaryBuffer block) {
  return Send(MakeOperation<TPMSuppliedBufferOperation>(std::move(block)));
}

bool TWCPMBinarySourcePin::SendStop() { return Send(MakeOperation<TPMStopOperation>()); }

IWCBinaryBuffer BinaryOf(const TPMOperation& operation) {
  const auto* supplied = operation ? operation->As<TPMSuppliedBufferOperation>() : nullptr;
  return supplied ? supplied->BufferAs<TWCBinaryBuffer>() : nullptr;
}

}  // namespace fc
