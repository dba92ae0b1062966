// image_pins.h - pins that carry frames.
#pragma once

#include <string>

#include "contracts/pins/pin.h"
#include "contracts/video/image_buffer.h"
#include "platform/runtime/components_api.h"

namespace fc {

inline constexpr std::string_view kImageMedia = "Image";

/// An output pin for video: start-frame, frames (supplied-buffer operations
/// carrying a TFCImageBuffer), stop.
class FC_COMPONENTS_API TFCPMImageSourcePin : public TPMSourcePin {
  FC_DECLARE_CLASS_INFO()
public:
  TFCPMImageSourcePin(TComponent* owner, IPMPinDispatcher& dispatcher, std::string name = "OutputPin")
      : TPMSourcePin(owner, dispatcher, std::move(name), std::string(kImageMedia)) {}

  bool SendStartFrame(int width, int height, double rate, TFCVideoFormat format);
  /// Sends the frame; the sinks share it read-only.
  bool SendFrame(std::shared_ptr<const TFCImageBuffer> frame);
  bool SendStop();
};

/// An input pin for video.
class FC_COMPONENTS_API TFCPMImageSinkPin : public TPMSinkPin {
  FC_DECLARE_CLASS_INFO()
public:
  TFCPMImageSinkPin(TComponent* owner, IPMPinDispatcher& dispatcher, std::string name = "InputPin")
      : TPMSinkPin(owner, dispatcher, std::move(name), std::string(kImageMedia)) {}

  /// Asks upstream for the next frame on behalf of `sender`.
  bool RequestFrame(const TComponent* sender);
};

/// The frame an operation carries, or null when it carries none.
FC_COMPONENTS_API std::shared_ptr<const TFCImageBuffer> FrameOf(const TPMOperation& operation);

}  // namespace fc
