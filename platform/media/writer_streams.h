// writer_streams.h - internal to the writer: the encoder of one stream of a
// file, handing its packets to the muxer.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "contracts/pins/time_stamps.h"
#include "platform/media/media_status.h"
#include "platform/media/writer.h"
#include "platform/media/writer_pixels.h"

struct SwrContext;
struct AVAudioFifo;

namespace fc::media {

/// Receives each packet an encoder made, with its stream (time stamps still
/// in the encoder's time base).
using TPacketSink = std::function<int(AVPacket& packet, AVStream& stream, AVRational encoderTimeBase)>;

/// Base of the stream encoders: the context, the stream, draining packets.
class TWriterStream {
public:
  explicit TWriterStream(TPacketSink sink) : sink_(std::move(sink)) {}
  virtual ~TWriterStream();
  TWriterStream(const TWriterStream&) = delete;
  TWriterStream& operator=(const TWriterStream&) = delete;

  /// Sends the end of the stream to the encoder and writes what it held.
  virtual TMediaStatus Flush();

protected:
  /// Makes the stream of `muxer` for the opened encoder.
  TMediaStatus AddStream(AVFormatContext& muxer);
  /// Sends a frame (null: end of stream) and passes every packet on.
  TMediaStatus Encode(AVFrame* frame);

  AVCodecContext* encoder_ = nullptr;
  AVStream* stream_ = nullptr;
  AVFrame* frame_ = nullptr;

private:
  TPacketSink sink_;
  AVPacket* packet_ = nullptr;
};

class TWriterVideoStream : public TWriterStream {
public:
  using TWriterStream::TWriterStream;
  TMediaStatus Open(AVFormatContext& muxer, const TWriterVideoSettings& settings);
  TMediaStatus Write(const std::uint8_t* pixels, std::size_t size, const TPMTimeStamps& stamps);

private:
  TWriterVideoSettings settings_;
  TPixelConverter converter_;
  std::int64_t lastPts_ = -1;
};

class TWriterAudioStream : public TWriterStream {
public:
  using TWriterStream::TWriterStream;
  ~TWriterAudioStream() override;
  TMediaStatus Open(AVFormatContext& muxer, const TWriterAudioSettings& settings);
  /// Returns the number of sample frames taken.
  TMediaStatus Write(std::span<const std::uint8_t> pcm, std::int64_t& samples);
  TMediaStatus Flush() override;

private:
  TMediaStatus Resample(const std::uint8_t* input, int samples);
  TMediaStatus EncodeQueued(bool final);

  TWriterAudioSettings settings_;
  SwrContext* resampler_ = nullptr;
  AVAudioFifo* fifo_ = nullptr;
  std::int64_t nextPts_ = 0;
  std::vector<std::int32_t> widened_;  // 24-bit samples as 32-bit ones
};

}  // namespace fc::media
