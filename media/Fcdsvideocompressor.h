// Fcdsvideocompressor.h - compresses a frame stream inside a graph: source,
// compressor stage, sample grabber, and a delivery thread that sends the
// grabbed chunks on.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "contracts/pins/lock.h"
#include "contracts/video/buffer_queue.h"
#include "contracts/video/image_pins.h"
#include "contracts/video/video_compression.h"
#include "package/registered_unit.h"
#include "platform/media/graph.h"
#include "platform/runtime/components_api.h"
#include "platform/signal/binary_pins.h"

namespace fc {

/// Frames arriving on "InputPin" go through `Graph`: "VideoSource" (YUY2 for
/// a stream of pixel format 1, else three-byte frames), a compressor stage
/// "VideoCompressor" and the sample grabber "SampleGrabler", whose callback
/// runs on the source's streaming thread and copies each chunk's bytes and
/// times into a buffer queue. A delivery thread of the component sends the
/// queued chunks on "OutputPin" as blocks, up to 11 per wake-up, and after
/// the third block of a stream one start-pump.
///
/// `Compressions` names compressors by moniker text: "codec:<encoder>"
/// ("codec:mjpeg", "codec:ffv1") or "fourcc:<code>" ("fourcc:MJPG"). At a
/// start-frame, while `Enabled`, the graph is built: each entry is tried in
/// order and the first that renders is used ("Can't render video output."
/// reported as a warning for each that does not); with none the frames go
/// uncompressed to the grabber. A start-video-compression then goes out with
/// the headers, the code (0 uncompressed) and the rate. Failures report
/// through `Graph` with "Can't set video source filter.", "Can't set video
/// sample grabber." and "Can't start logger.". Disabled, or without a graph,
/// the start and the frames pass unchanged.
///
/// Frame times: a frame's own times, the first frame of a stream moved to 0
/// and the rest keeping their distances; frames without times follow each
/// other by one frame duration. A stop, a new start and destruction stop
/// the graph and deliver every chunk still queued before the stop goes on.
class FC_COMPONENTS_API TFCDSVideoCompressor : public TComponent, public TPMObject, public IPMPinDispatcher {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr bool kEnabledDefault = true;
  static constexpr int kSamplesPerWakeUp = 11;
  static constexpr int kStartPumpAfter = 3;

  explicit TFCDSVideoCompressor(TComponent* owner);
  ~TFCDSVideoCompressor() override;

  TFCPMImageSinkPin* GetInputPin() { return &inputPin_; }
  TWCPMBinarySourcePin* GetOutputPin() { return &outputPin_; }
  TDSGraph* GetGraph() { return &graph_; }
  TFCDSVideoCompressionItems* GetCompressions() { return &compressions_; }

  bool GetEnabled() const;
  void SetEnabled(bool enabled);

  bool SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) override;
  bool SourceDispatch(TPMSourcePin& pin, const TPMOperation& operation) override;

private:
  bool BeginVideo(const TPMStartFrameOperation& start, const TPMOperation& operation);
  bool BuildGraph(TFCBitmapInfoHeader& output, std::vector<std::uint8_t>& codecData, TFCFourCC& fourCC);
  bool Fail(const std::string& message, int code);
  bool DoCompression(const TFCImageBuffer& frame, const TPMOperation& operation);
  TPMTimeStamps NextStamps(const TFCImageBuffer& frame);
  void NewVideoBuffer(const TDSMediaSample& sample);
  void NewThreadVideo();
  void StartDelivery();
  void DestroyGraph();

  TFCPMImageSinkPin inputPin_;
  TWCPMBinarySourcePin outputPin_;
  TDSGraph graph_;
  TFCDSVideoCompressionItems compressions_;
  bool enabled_ = kEnabledDefault;

  // Stream state, under the component lock.
  int width_ = 0, height_ = 0;
  int pixelFormat_ = vfRGB24;
  double rate_ = 25;
  bool firstFrame_ = true;
  std::int64_t lastFrameEnd_ = 0, lastEnd_ = 0;

  // Between the grabber callback and the delivery thread.
  TFCDSBufferQueue queue_;
  std::mutex deliveryMutex_;
  std::condition_variable wake_;
  bool delivering_ = false;
  int sentThisStream_ = 0;  // delivery thread only
  std::thread delivery_;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcdsvideocompressor)
