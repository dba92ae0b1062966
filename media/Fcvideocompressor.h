// Fcvideocompressor.h - compresses a frame stream into a binary stream with
// a codec chosen by four-character code.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "contracts/pins/lock.h"
#include "contracts/pins/state_pins.h"
#include "contracts/video/image_pins.h"
#include "contracts/video/video_compression.h"
#include "package/registered_unit.h"
#include "platform/media/codec_manager.h"
#include "platform/runtime/components_api.h"
#include "platform/signal/binary_pins.h"

namespace fc {

/// Frames arriving on "InputPin" leave "OutputPin" compressed, one block
/// per frame, each with the frame's time stamps and the key-frame flag.
///
/// At each start-frame, while `Enabled` (also driven by "EnablePin"): the
/// codecs of `Compressions` are tried in list order for the stream's frames
/// and the first that takes them is used with its quality; when none does,
/// the first installed codec that takes them (media::KnownFourCCs order) is
/// used with quality 0. The codec is begun and a start-video-compression
/// goes out with the input and compressed headers, the code and the rate.
/// Without a codec (none takes the format, beginning failed, or disabled)
/// the start and the frames pass unchanged.
///
/// Frames are converted to the start's pixel format before compression. A
/// frame that fails to compress is dropped and counted (DroppedFrames); the
/// frame number advances for every frame either way. A stop ends the codec
/// and goes on.
class FC_COMPONENTS_API TFCVideoCompressor : public TComponent, public TPMObject, public IPMPinDispatcher {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr bool kEnabledDefault = true;

  explicit TFCVideoCompressor(TComponent* owner);
  ~TFCVideoCompressor() override;

  TFCPMImageSinkPin* GetInputPin() { return &inputPin_; }
  TWCPMBinarySourcePin* GetOutputPin() { return &outputPin_; }
  TPMBoolSinkPin* GetEnablePin() { return &enablePin_; }
  TFCVideoCompressionItems* GetCompressions() { return &compressions_; }

  bool GetEnabled() const;
  /// Takes effect at the next start.
  void SetEnabled(bool enabled);

  /// The code of the codec in use ("" without one).
  std::string ActiveFourCC() const;
  /// Frames compressed and sent, and frames that failed to compress.
  std::int64_t CompressedFrames() const { return compressed_.load(); }
  std::int64_t DroppedFrames() const { return dropped_.load(); }

  bool SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) override;
  bool SourceDispatch(TPMSourcePin& pin, const TPMOperation& operation) override;

private:
  bool StartCompression(const TPMStartFrameOperation& start, const TPMOperation& operation);
  bool DoCompression(const TFCImageBuffer& frame, const TPMOperation& operation);
  bool StopCompression(const TPMOperation& operation);
  std::unique_ptr<media::TVideoCompressorCodec> LocateCodec(const TFCBitmapInfoHeader& input, int& quality);

  TFCPMImageSinkPin inputPin_;
  TWCPMBinarySourcePin outputPin_;
  TPMBoolSinkPin enablePin_;
  TFCVideoCompressionItems compressions_;
  bool enabled_ = kEnabledDefault;

  // Stream state, under the component lock.
  std::unique_ptr<media::TVideoCompressorCodec> codec_;
  TFCVideoFormat format_ = vfRGB24;
  std::int64_t frameNumber_ = 0;
  std::atomic<std::int64_t> compressed_{0}, dropped_{0};
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcvideocompressor)
