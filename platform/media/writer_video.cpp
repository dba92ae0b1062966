// The video stream of the writer: frames converted to the encoder's pixel
// format and encoded with their time stamps.
#include <algorithm>
#include <cmath>

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
#include <libavutil/rational.h>
}

#include "platform/media/codec_manager_lookup.h"
#include "platform/media/codec_threads.h"
#include "platform/media/ffmpeg_error.h"
#include "platform/media/writer_streams.h"

namespace fc::media {

TMediaStatus TWriterVideoStream::Open(AVFormatContext& muxer, const TWriterVideoSettings& settings) {
  settings_ = settings;
  if (settings.width <= 0 || settings.height <= 0 || !(settings.rate > 0))
    return TMediaStatus::Failure(AVERROR(EINVAL), "video size and rate must be positive");
  const AVCodec* codec = FindVideoEncoder(settings.codec);
  if (!codec) return TMediaStatus::Failure(AVERROR_ENCODER_NOT_FOUND, "no video encoder '" + settings.codec + "'");
  const AVRational timeBase = av_inv_q(av_d2q(settings.rate, 1001000));
  const bool globalHeader = (muxer.oformat->flags & AVFMT_GLOBALHEADER) != 0;
  AVPixelFormat encodeIn = PixelFormatOf(settings.format);
  if (!settings.pixelFormat.empty()) {
    encodeIn = av_get_pix_fmt(settings.pixelFormat.c_str());
    if (encodeIn == AV_PIX_FMT_NONE)
      return TMediaStatus::Failure(AVERROR(EINVAL), "no pixel format '" + settings.pixelFormat + "'");
  }
  int error = 0;
  encoder_ = OpenVideoEncoder(*codec, encodeIn, [&](AVCodecContext& c) {
    c.width = settings.width;
    c.height = settings.height;
    c.time_base = timeBase;
    c.framerate = av_inv_q(timeBase);
    const bool shaped = settings.sampleAspectNumerator > 0 && settings.sampleAspectDenominator > 0;
    c.sample_aspect_ratio = shaped ? AVRational{settings.sampleAspectNumerator, settings.sampleAspectDenominator}
                                   : AVRational{1, 1};
    c.max_b_frames = 0;
    c.thread_count = CodecThreads(settings.threads);
    if (settings.bitRate > 0) c.bit_rate = settings.bitRate;
    if (settings.keyFrameInterval > 0) c.gop_size = settings.keyFrameInterval;
    if (settings.quality > 0) {
      c.flags |= AV_CODEC_FLAG_QSCALE;
      c.global_quality = QualityLambda(settings.quality, 100);
    }
    if (globalHeader) c.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  }, error);
  if (!encoder_) return TMediaStatus::Failure(error, std::string(codec->name) + ": " + FFmpegErrorText(error));
  if (TMediaStatus status = AddStream(muxer); !status) return status;
  frame_->width = settings.width;
  frame_->height = settings.height;
  frame_->format = encoder_->pix_fmt;
  error = av_frame_get_buffer(frame_, 0);
  if (error < 0) return TMediaStatus::Failure(error, "frame buffer: " + FFmpegErrorText(error));
  return {};
}

TMediaStatus TWriterVideoStream::Write(const std::uint8_t* pixels, std::size_t size, const TPMTimeStamps& stamps) {
  const int step = RowBytesOf(settings_.format, settings_.width);
  if (!pixels || size < static_cast<std::size_t>(step) * static_cast<std::size_t>(settings_.height))
    return TMediaStatus::Failure(AVERROR(EINVAL), "a frame shorter than the stream's frame size");
  int error = av_frame_make_writable(frame_);
  if (error < 0) return TMediaStatus::Failure(error, "frame buffer: " + FFmpegErrorText(error));
  if (!converter_.ToFrame(pixels, step, PixelFormatOf(settings_.format), *frame_))
    return TMediaStatus::Failure(AVERROR(EINVAL), "pixel conversion failed");
  std::int64_t pts = lastPts_ + 1;
  if (stamps.available)
    pts = std::max(pts, av_rescale_q_rnd(stamps.begin, AVRational{1, static_cast<int>(kTimeUnitsPerSecond)},
                                         encoder_->time_base, AV_ROUND_NEAR_INF));
  lastPts_ = pts;
  frame_->pts = pts;
  frame_->quality = encoder_->global_quality;
  frame_->pict_type = AV_PICTURE_TYPE_NONE;
  return Encode(frame_);
}

}  // namespace fc::media
