#include "platform/media/codec_manager_lookup.h"

#include <algorithm>
#include <cctype>
#include <string>

extern "C" {
#include <libavformat/avformat.h>
}

#include "platform/media/ffmpeg_log.h"

namespace fc::media {

namespace {

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

struct TAudioCode {
  const char* code;
  const char* encoder;
};

constexpr TAudioCode kAudioCodes[] = {
    {"WMA1", "wmav1"}, {"WMA2", "wmav2"}, {"PCM", "pcm_s16le"},
    {"MP2", "mp2"},    {"AC3", "ac3"},    {"AAC", "aac"},
};

AVCodecContext* TryOpen(const AVCodec& codec, AVPixelFormat format,
                        const std::function<void(AVCodecContext&)>& configure, int& error) {
  AVCodecContext* context = avcodec_alloc_context3(&codec);
  if (!context) {
    error = AVERROR(ENOMEM);
    return nullptr;
  }
  context->pix_fmt = format;
  configure(*context);
  error = avcodec_open2(context, &codec, nullptr);
  if (error >= 0) return context;
  avcodec_free_context(&context);
  return nullptr;
}

}  // namespace

int QualityLambda(int quality, int best) {
  const int scale = 1 + (best - std::clamp(quality, 1, best)) * 30 / best;
  return scale * FF_QP2LAMBDA;
}

AVCodecID VideoCodecIdOf(TFCFourCC code) {
  const AVCodecTag* const tables[] = {avformat_get_riff_video_tags(), nullptr};
  return av_codec_get_id(tables, code);
}

const AVCodec* FindVideoEncoder(std::string_view codeOrName) {
  RouteFFmpegLog();
  if (codeOrName.empty()) return nullptr;
  if (codeOrName.size() <= 4) {
    const AVCodecID id = VideoCodecIdOf(MakeFourCC(Upper(codeOrName)));
    if (id != AV_CODEC_ID_NONE)
      if (const AVCodec* codec = avcodec_find_encoder(id)) return codec;
  }
  const AVCodec* codec = avcodec_find_encoder_by_name(std::string(codeOrName).c_str());
  return codec && codec->type == AVMEDIA_TYPE_VIDEO ? codec : nullptr;
}

const AVCodec* FindAudioEncoder(std::string_view codeOrName) {
  RouteFFmpegLog();
  const std::string upper = Upper(codeOrName);
  for (const TAudioCode& entry : kAudioCodes)
    if (upper == entry.code) return avcodec_find_encoder_by_name(entry.encoder);
  if (codeOrName.empty()) return nullptr;
  const AVCodec* codec = avcodec_find_encoder_by_name(std::string(codeOrName).c_str());
  return codec && codec->type == AVMEDIA_TYPE_AUDIO ? codec : nullptr;
}

AVCodecContext* OpenVideoEncoder(const AVCodec& codec, AVPixelFormat source,
                                 const std::function<void(AVCodecContext&)>& configure, int& error) {
  error = AVERROR(EINVAL);
  const AVPixelFormat* formats = codec.pix_fmts;
  if (!formats) return TryOpen(codec, source, configure, error);
  const AVPixelFormat best = avcodec_find_best_pix_fmt_of_list(formats, source, 0, nullptr);
  if (AVCodecContext* context = TryOpen(codec, best, configure, error)) return context;
  for (; *formats != AV_PIX_FMT_NONE; ++formats)
    if (*formats != best)
      if (AVCodecContext* context = TryOpen(codec, *formats, configure, error)) return context;
  return nullptr;
}

}  // namespace fc::media
