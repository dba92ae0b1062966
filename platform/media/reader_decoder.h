// reader_decoder.h - the decoding half of the media reader: one stream's
// decoder and the conversion of its frames into the bytes the reader
// delivers (24-bit blue-green-red frames, interleaved 16-bit PCM). Internal
// to platform/media.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "platform/media/reader_types.h"

namespace fc::media {

/// The scaler flags of the colour conversion (no resizing happens): the
/// same flags give the same bytes as any other user of the scaler.
inline constexpr int kReaderScalerFlags = SWS_BICUBIC;

/// Decodes one stream and converts each frame into delivered bytes.
class TStreamDecoder {
public:
  /// Called for each decoded sample: time and duration in 100-ns units from
  /// the source's start, and the converted bytes (valid during the call).
  /// Returning false stops the decoding of the current packet.
  using TSampleSink = std::function<bool(std::int64_t time, std::int64_t duration, std::span<const std::uint8_t>)>;

  TStreamDecoder() = default;
  ~TStreamDecoder();
  TStreamDecoder(const TStreamDecoder&) = delete;
  TStreamDecoder& operator=(const TStreamDecoder&) = delete;

  /// Opens the decoder of `stream`; `startTime` is the source's start in
  /// AV_TIME_BASE units (subtracted from every time stamp).
  /// AVERROR_DECODER_NOT_FOUND when this FFmpeg has no decoder for it.
  int Open(const AVStream& stream, std::int64_t startTime);
  bool IsOpen() const { return codec_ != nullptr; }
  /// The output's media type once open.
  const TOutputProps& Props() const { return props_; }

  /// Decodes `packet` (null: drains the decoder at the end of the source)
  /// and passes every finished sample to `sink`. 0, or the decoder's error.
  int Decode(const AVPacket* packet, const TSampleSink& sink);
  /// Forgets buffered frames (after a seek).
  void Flush();

private:
  int Receive(const TSampleSink& sink, bool& more);
  bool ConvertVideo(const AVFrame& frame);
  bool ConvertAudio(const AVFrame& frame);
  std::int64_t TimeOf(const AVFrame& frame);

  AVCodecContext* codec_ = nullptr;
  AVFrame* frame_ = nullptr;
  SwsContext* scaler_ = nullptr;
  SwrContext* resampler_ = nullptr;
  AVRational timeBase_{1, 1};
  std::int64_t startTime_ = 0;  // in the stream's time base
  std::int64_t nextTime_ = 0;   // estimate for frames without a time stamp
  TOutputProps props_;
  std::vector<std::uint8_t> bytes_;
  std::vector<std::uint8_t> aligned_;  // scaler output with an aligned row step
};

/// The media type of a stream that is listed but not delivered.
TOutputProps UndecodedProps(const AVStream& stream);

}  // namespace fc::media
