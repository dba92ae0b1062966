// binary_pins.h - pins that carry blocks of bytes, typically compressed video.
#pragma once

#include <memory>
#include <string>

#include "contracts/pins/pin.h"
#include "contracts/video/image_buffer.h"
#include "contracts/video/video_compression.h"
#include "platform/runtime/components_api.h"
#include "platform/signal/binary_buffer.h"

namespace fc {

inline constexpr std::string_view kBinaryMedia = "Binary";

/// An output pin for binary streams. A compressed video stream starts with
/// a start-video-compression operation, then sends blocks (supplied-buffer
/// operations carrying a TWCBinaryBuffer), then a stop. A stream that is not
/// compressed (no codec was found) passes as it came: a start-frame, then
/// frames (TFCImageBuffer), then a stop; sinks tell the two apart by the
/// start and by the class of each buffer.
class FC_COMPONENTS_API TWCPMBinarySourcePin : public TPMSourcePin {
  FC_DECLARE_CLASS_INFO()
public:
  TWCPMBinarySourcePin(TComponent* owner, IPMPinDispatcher& dispatcher, std::string name = "OutputPin")
      : TPMSourcePin(owner, dispatcher, std::move(name), std::string(kBinaryMedia)) {}

  bool SendStartVideoCompression(const TFCBitmapInfoHeader& input, const TFCBitmapInfoHeader& output,
                                 std::vector<std::uint8_t> codecData, TFCFourCC fourCC, double rate);
  /// Sends the block; the sinks share it read-only.
  bool SendBuffer(IWCBinaryBuffer block);
  bool SendStop();
};

/// An input pin for binary streams.
class FC_COMPONENTS_API TWCPMBinarySinkPin : public TPMSinkPin {
  FC_DECLARE_CLASS_INFO()
public:
  TWCPMBinarySinkPin(TComponent* owner, IPMPinDispatcher& dispatcher, std::string name = "InputPin")
      : TPMSinkPin(owner, dispatcher, std::move(name), std::string(kBinaryMedia)) {}
};

/// The block an operation carries, or null when it carries none.
FC_COMPONENTS_API IWCBinaryBuffer BinaryOf(const TPMOperation& operation);

}  // namespace fc
