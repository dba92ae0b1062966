// graph_compressor.h - the compressor stage of a graph: video samples in,
// one compressed sample per frame out, through the codec manager.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/media/codec_manager.h"
#include "platform/media/graph.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// Compresses the video samples it receives with a begun codec and passes
/// each chunk on as a CompressedVideo sample with the frame's times and the
/// chunk flags. A frame that fails to compress is answered as a failure
/// (its source drops and reports it).
class FC_COMPONENTS_API TDSCompressorStage : public TDSGraphStage, public IDSSampleInput {
public:
  TDSCompressorStage(std::string name, std::unique_ptr<media::TVideoCompressorCodec> codec)
      : TDSGraphStage(std::move(name)), codec_(std::move(codec)) {}

  media::TVideoCompressorCodec& Codec() { return *codec_; }
  /// Where chunks go; set it while the graph is not running.
  void Connect(IDSSampleInput* downstream) { downstream_ = downstream; }

  void Stop() override { codec_->End(); }
  media::TMediaStatus Receive(const TDSMediaSample& sample) override;

private:
  std::unique_ptr<media::TVideoCompressorCodec> codec_;
  IDSSampleInput* downstream_ = nullptr;
  std::int64_t frameNumber_ = 0;
  TDSMediaSample chunk_;
};

}  // namespace fc
