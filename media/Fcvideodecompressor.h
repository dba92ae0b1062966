// Fcvideodecompressor.h - decompresses a binary stream of compressed video
// into frames.
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

/// Blocks arriving on the binary "InputPin" leave "OutputPin" as frames.
///
/// - A start-video-compression (while `Enabled`, also driven by
///   "EnablePin"): a decompressor for the compressed format that gives the
///   stream's uncompressed format is used, else one that gives frames of its
///   own choice; it is begun and a start-frame goes out with the rate
///   rounded to an integer and the uncompressed format.
/// - A plain start (no compression information): while `Enabled`, the codecs
///   of `Decompressions` are tried in order for frames of `Width` x `Height`
///   in `VideoFormat`; the first one's compressed format is decompressed.
///   The start-frame announces `Width` x `Height`, `VideoFormat` and 30
///   frames per second (a plain start carries no rate).
/// - A start-frame (an uncompressed stream) ends decompression and goes on,
///   and so do the frames that follow it.
/// - Without a codec, each block is taken as the raw pixels of one
///   `Width` x `Height` frame in `VideoFormat`; a block shorter than that is
///   dropped and counted, never read past its end.
/// A block that fails to decompress is dropped and counted (DroppedBlocks).
class FC_COMPONENTS_API TFCVideoDecompressor : public TComponent, public TPMObject, public IPMPinDispatcher {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr bool kEnabledDefault = true;
  static constexpr std::int32_t kWidthDefault = 240;
  static constexpr std::int32_t kHeightDefault = 180;
  static constexpr TFCVideoFormat kVideoFormatDefault = vfRGB24;
  static constexpr double kPlainStartRate = 30;

  explicit TFCVideoDecompressor(TComponent* owner);
  ~TFCVideoDecompressor() override;

  TWCPMBinarySinkPin* GetInputPin() { return &inputPin_; }
  TFCPMImageSourcePin* GetOutputPin() { return &outputPin_; }
  TPMBoolSinkPin* GetEnablePin() { return &enablePin_; }
  TFCVideoCompressionItems* GetDecompressions() { return &decompressions_; }

  bool GetEnabled() const;
  void SetEnabled(bool enabled);
  std::int32_t GetWidth() const;
  /// EFCError naming the property beyond the frame budget; 0 or less makes
  /// raw blocks unusable (they are dropped).
  void SetWidth(std::int32_t width);
  std::int32_t GetHeight() const;
  void SetHeight(std::int32_t height);
  TFCVideoFormat GetVideoFormat() const;
  void SetVideoFormat(TFCVideoFormat format);

  /// The code of the codec in use ("" without one).
  std::string ActiveFourCC() const;
  std::int64_t DroppedBlocks() const { return dropped_.load(); }

  bool SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) override;
  bool SourceDispatch(TPMSourcePin& pin, const TPMOperation& operation) override;

private:
  bool StartVideoDecompression(const TFCStartVideoCompressionOperation& start);
  bool StartDecompression();
  bool StartRetransmittion(const TPMOperation& operation);
  bool DoDecompression(const TWCBinaryBuffer& block);
  bool StopDecompression(const TPMOperation& operation);
  void BeginOrClose();
  bool Drop(const std::string& why);

  TWCPMBinarySinkPin inputPin_;
  TFCPMImageSourcePin outputPin_;
  TPMBoolSinkPin enablePin_;
  TFCVideoCompressionItems decompressions_;
  bool enabled_ = kEnabledDefault;
  std::int32_t width_ = kWidthDefault;
  std::int32_t height_ = kHeightDefault;
  TFCVideoFormat videoFormat_ = kVideoFormatDefault;

  // Stream state, under the component lock.
  std::unique_ptr<media::TVideoDecompressorCodec> codec_;
  TFCVideoFormat outputFormat_ = vfRGB24;
  std::atomic<std::int64_t> dropped_{0};
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcvideodecompressor)
