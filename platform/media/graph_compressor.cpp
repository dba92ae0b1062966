#include "platform/media/graph_compressor.h"

#include <cerrno>

namespace fc {

media::TMediaStatus TDSCompressorStage::Receive(const TDSMediaSample& sample) {
  // The source before this stage hands over whole frames of the codec's size.
  if (sample.type != TDSMediaType::Video || !downstream_ || sample.bytes.empty())
    return media::TMediaStatus::Failure(media::SystemErrorCode(EINVAL), "the compressor takes video only");
  media::TCompressedChunk chunk;
  media::TMediaStatus status = codec_->Compress(sample.bytes.data(), frameNumber_++, chunk);
  if (!status) return status;
  chunk_.type = TDSMediaType::CompressedVideo;
  chunk_.bytes = std::move(chunk.bytes);
  chunk_.stamps = sample.stamps;
  chunk_.flags = chunk.flags;
  return downstream_->Receive(chunk_);
}

}  // namespace fc
