#include "platform/media/codec_manager.h"

#include <algorithm>
#include <cstring>
#include <mutex>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
}

#include "platform/media/codec_manager_lookup.h"
#include "platform/media/ffmpeg_error.h"
#include "platform/media/ffmpeg_log.h"
#include "platform/media/writer_pixels.h"

namespace fc::media {

namespace {

// Room for headers and markers beyond the pixels in the largest chunk.
constexpr std::size_t kChunkMargin = 65536;

std::vector<std::uint8_t> ExtraData(const AVCodecContext& context) {
  if (!context.extradata || context.extradata_size <= 0) return {};
  return {context.extradata, context.extradata + context.extradata_size};
}

TMediaStatus CodecFailure(const AVCodecContext* context, int error) {
  const std::string name = context && context->codec ? context->codec->name : "codec";
  return TMediaStatus::Failure(error, name + ": " + FFmpegErrorText(error));
}

// The option SetBeginOptionForTesting asks Begin to set.
struct TBeginOption {
  TFCFourCC fourCC = 0;
  std::string name, value;
};

std::mutex beginOptionMutex;
TBeginOption beginOption;

TBeginOption BeginOptionFor(TFCFourCC fourCC) {
  std::lock_guard guard(beginOptionMutex);
  return beginOption.fourCC == fourCC ? beginOption : TBeginOption{};
}

}  // namespace

void SetBeginOptionForTesting(TFCFourCC fourCC, std::string name, std::string value) {
  std::lock_guard guard(beginOptionMutex);
  beginOption = name.empty() ? TBeginOption{} : TBeginOption{fourCC, std::move(name), std::move(value)};
}

const std::vector<std::string>& KnownFourCCs() {
  static const std::vector<std::string> codes = {"MJPG", "FFV1", "HFYU", "FFVH", "XVID", "DIVX",
                                                 "DX50", "FMP4", "MP42", "MP43", "WMV1", "WMV2",
                                                 "DVSD", "MPG1", "MPG2", "H264", "VP80"};
  return codes;
}

std::vector<TCodecDescription> InstalledCodecs() {
  RouteFFmpegLog();
  std::vector<TCodecDescription> installed;
  for (const std::string& code : KnownFourCCs()) {
    const AVCodecID id = VideoCodecIdOf(MakeFourCC(code));
    const AVCodec* encoder = id != AV_CODEC_ID_NONE ? avcodec_find_encoder(id) : nullptr;
    const AVCodec* decoder = id != AV_CODEC_ID_NONE ? avcodec_find_decoder(id) : nullptr;
    if (encoder || decoder) installed.push_back({code, encoder ? encoder->name : "", decoder ? decoder->name : ""});
  }
  return installed;
}

// ---------------------------------------------------------------- compressor

struct TVideoCompressorCodec::Impl {
  const AVCodec* codec = nullptr;
  std::string encoderName;
  TFCFourCC fourCC = 0;
  TFCBitmapInfoHeader input;
  TFCVideoFormat inputFormat = vfRGB24;
  TCompressedFormat format;
  std::size_t maxSize = 0;
  AVCodecContext* encoder = nullptr;
  bool begun = false;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;
  TPixelConverter converter;

  ~Impl() { Close(); }

  void Close() {
    avcodec_free_context(&encoder);
    av_frame_free(&frame);
    av_packet_free(&packet);
    begun = false;
  }

  // Opens the encoder for the input frames at `quality`, with `option` set
  // when it names one; false when the codec does not take them.
  bool Open(int quality, const TBeginOption& option, int& error) {
    Close();
    encoder = OpenVideoEncoder(*codec, PixelFormatOf(inputFormat), [&](AVCodecContext& c) {
      c.width = input.width;
      c.height = input.height;
      c.time_base = {1, 25};
      c.framerate = {25, 1};
      c.sample_aspect_ratio = {1, 1};
      // One frame in, one chunk out.
      c.thread_count = 1;
      c.max_b_frames = 0;
      av_opt_set(c.priv_data, "tune", "zerolatency", 0);
      if (quality > 0) {
        c.flags |= AV_CODEC_FLAG_QSCALE;
        c.global_quality = QualityLambda(quality, 10000);
      }
      if (!option.name.empty()) av_opt_set(&c, option.name.c_str(), option.value.c_str(), AV_OPT_SEARCH_CHILDREN);
    }, error);
    if (!encoder) return false;
    format.header = input;
    format.header.compression = fourCC;
    format.codecData = ExtraData(*encoder);
    const int encoderBytes = av_image_get_buffer_size(encoder->pix_fmt, input.width, input.height, 1);
    maxSize = 2 * std::max<std::size_t>(input.sizeImage, encoderBytes > 0 ? encoderBytes : 0) + kChunkMargin;
    format.header.sizeImage = static_cast<std::uint32_t>(std::min<std::size_t>(maxSize, UINT32_MAX));
    return true;
  }
};

TVideoCompressorCodec::TVideoCompressorCodec(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
TVideoCompressorCodec::~TVideoCompressorCodec() = default;

std::unique_ptr<TVideoCompressorCodec> TVideoCompressorCodec::Locate(TFCFourCC fourCC,
                                                                     const TFCBitmapInfoHeader& input) {
  RouteFFmpegLog();
  const auto inputFormat = FrameFormatOf(input);
  if (!inputFormat || input.width <= 0 || input.height <= 0) return nullptr;
  std::vector<TFCFourCC> candidates;
  if (fourCC != 0)
    candidates.push_back(fourCC);
  else
    for (const std::string& code : KnownFourCCs()) candidates.push_back(MakeFourCC(code));
  for (TFCFourCC code : candidates) {
    const AVCodecID id = VideoCodecIdOf(code);
    const AVCodec* codec = id != AV_CODEC_ID_NONE ? avcodec_find_encoder(id) : nullptr;
    if (!codec) continue;
    auto impl = std::make_unique<Impl>();
    impl->codec = codec;
    impl->encoderName = codec->name;
    impl->fourCC = code;
    impl->input = input;
    impl->input.sizeImage = UncompressedHeader(input.width, input.height, *inputFormat).sizeImage;
    impl->inputFormat = *inputFormat;
    int error = 0;
    if (!impl->Open(0, {}, error)) continue;
    impl->Close();  // Begin opens it again with its quality
    return std::unique_ptr<TVideoCompressorCodec>(new TVideoCompressorCodec(std::move(impl)));
  }
  return nullptr;
}

std::unique_ptr<TVideoCompressorCodec> TVideoCompressorCodec::LocateByName(std::string_view codeOrName,
                                                                           const TFCBitmapInfoHeader& input) {
  const AVCodec* encoder = FindVideoEncoder(codeOrName);
  if (!encoder) return nullptr;
  const AVCodecTag* const tables[] = {avformat_get_riff_video_tags(), nullptr};
  const unsigned int tag = av_codec_get_tag(tables, encoder->id);
  return tag ? Locate(tag, input) : nullptr;
}

TFCFourCC TVideoCompressorCodec::FourCC() const { return impl_->fourCC; }
const std::string& TVideoCompressorCodec::EncoderName() const { return impl_->encoderName; }
const TCompressedFormat& TVideoCompressorCodec::OutputFormat() const { return impl_->format; }
std::size_t TVideoCompressorCodec::MaxCompressedSize() const { return impl_->maxSize; }
bool TVideoCompressorCodec::IsBegun() const { return impl_->begun; }

TMediaStatus TVideoCompressorCodec::Begin(int quality) {
  int error = 0;
  if (!impl_->Open(quality, BeginOptionFor(impl_->fourCC), error)) return CodecFailure(nullptr, error);
  impl_->frame = av_frame_alloc();
  impl_->packet = av_packet_alloc();
  if (!impl_->frame || !impl_->packet) return TMediaStatus::Failure(AVERROR(ENOMEM), "out of memory");
  impl_->frame->width = impl_->input.width;
  impl_->frame->height = impl_->input.height;
  impl_->frame->format = impl_->encoder->pix_fmt;
  error = av_frame_get_buffer(impl_->frame, 0);
  if (error < 0) return CodecFailure(impl_->encoder, error);
  impl_->begun = true;
  return {};
}

TMediaStatus TVideoCompressorCodec::Compress(const std::uint8_t* pixels, std::int64_t frameNumber,
                                             TCompressedChunk& chunk) {
  Impl& m = *impl_;
  if (!m.begun || !pixels) return TMediaStatus::Failure(AVERROR(EINVAL), "compression has not begun");
  int error = av_frame_make_writable(m.frame);
  if (error < 0) return CodecFailure(m.encoder, error);
  if (!m.converter.ToFrame(pixels, RowBytesOf(m.inputFormat, m.input.width), PixelFormatOf(m.inputFormat), *m.frame))
    return TMediaStatus::Failure(AVERROR(EINVAL), "pixel conversion failed");
  m.frame->pts = frameNumber;
  m.frame->quality = m.encoder->global_quality;
  m.frame->pict_type = frameNumber == 0 ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
  error = avcodec_send_frame(m.encoder, m.frame);
  if (error < 0) return CodecFailure(m.encoder, error);
  error = avcodec_receive_packet(m.encoder, m.packet);
  if (error < 0) return CodecFailure(m.encoder, error);
  if (static_cast<std::size_t>(m.packet->size) > m.maxSize) {
    av_packet_unref(m.packet);
    return TMediaStatus::Failure(AVERROR(ENOSPC), "a chunk larger than the largest size announced");
  }
  chunk.bytes.assign(m.packet->data, m.packet->data + m.packet->size);
  chunk.flags = (m.packet->flags & AV_PKT_FLAG_KEY) ? kChunkKeyFrame : 0;
  av_packet_unref(m.packet);
  return {};
}

void TVideoCompressorCodec::End() { impl_->Close(); }

// -------------------------------------------------------------- decompressor

struct TVideoDecompressorCodec::Impl {
  const AVCodec* codec = nullptr;
  TCompressedFormat input;
  TFCBitmapInfoHeader output;
  TFCVideoFormat outputFormat = vfRGB24;
  AVCodecContext* decoder = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;
  TPixelConverter converter;

  ~Impl() { Close(); }

  void Close() {
    avcodec_free_context(&decoder);
    av_frame_free(&frame);
    av_packet_free(&packet);
  }

  int Open() {
    Close();
    decoder = avcodec_alloc_context3(codec);
    frame = av_frame_alloc();
    packet = av_packet_alloc();
    if (!decoder || !frame || !packet) return AVERROR(ENOMEM);
    decoder->width = input.header.width;
    decoder->height = input.header.height;
    decoder->codec_tag = input.header.compression;
    decoder->bits_per_coded_sample = input.header.bitCount;
    decoder->thread_count = 1;
    if (!input.codecData.empty()) {
      const std::size_t size = input.codecData.size();
      decoder->extradata = static_cast<std::uint8_t*>(av_mallocz(size + AV_INPUT_BUFFER_PADDING_SIZE));
      if (!decoder->extradata) return AVERROR(ENOMEM);
      std::memcpy(decoder->extradata, input.codecData.data(), size);
      decoder->extradata_size = static_cast<int>(size);
    }
    return avcodec_open2(decoder, codec, nullptr);
  }
};

TVideoDecompressorCodec::TVideoDecompressorCodec(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
TVideoDecompressorCodec::~TVideoDecompressorCodec() = default;

std::unique_ptr<TVideoDecompressorCodec> TVideoDecompressorCodec::Locate(const TCompressedFormat& compressed,
                                                                         const TFCBitmapInfoHeader* uncompressed) {
  RouteFFmpegLog();
  const TFCBitmapInfoHeader& header = compressed.header;
  if (header.width <= 0 || header.height <= 0) return nullptr;
  const AVCodecID id = VideoCodecIdOf(header.compression);
  const AVCodec* codec = id != AV_CODEC_ID_NONE ? avcodec_find_decoder(id) : nullptr;
  if (!codec) return nullptr;
  auto impl = std::make_unique<Impl>();
  impl->codec = codec;
  impl->input = compressed;
  if (uncompressed) {
    const auto format = FrameFormatOf(*uncompressed);
    if (!format || uncompressed->width != header.width || std::abs(uncompressed->height) != header.height)
      return nullptr;
    impl->outputFormat = *format;
  }
  impl->output = UncompressedHeader(header.width, header.height, impl->outputFormat);
  if (impl->Open() < 0) return nullptr;
  impl->Close();  // Begin opens it again
  return std::unique_ptr<TVideoDecompressorCodec>(new TVideoDecompressorCodec(std::move(impl)));
}

TFCFourCC TVideoDecompressorCodec::FourCC() const { return impl_->input.header.compression; }
const TFCBitmapInfoHeader& TVideoDecompressorCodec::OutputHeader() const { return impl_->output; }
bool TVideoDecompressorCodec::IsBegun() const { return impl_->decoder != nullptr; }

TMediaStatus TVideoDecompressorCodec::Begin() {
  const int error = impl_->Open();
  if (error < 0) {
    impl_->Close();
    return CodecFailure(nullptr, error);
  }
  return {};
}

TMediaStatus TVideoDecompressorCodec::Decompress(std::span<const std::uint8_t> chunk, std::uint8_t* pixels) {
  Impl& m = *impl_;
  if (!m.decoder || !pixels) return TMediaStatus::Failure(AVERROR(EINVAL), "decompression has not begun");
  if (chunk.empty() || chunk.size() > INT32_MAX - AV_INPUT_BUFFER_PADDING_SIZE)
    return TMediaStatus::Failure(AVERROR_INVALIDDATA, "an empty or oversized chunk");
  int error = av_new_packet(m.packet, static_cast<int>(chunk.size()));
  if (error < 0) return CodecFailure(m.decoder, error);
  std::memcpy(m.packet->data, chunk.data(), chunk.size());
  error = avcodec_send_packet(m.decoder, m.packet);
  av_packet_unref(m.packet);
  if (error < 0) return CodecFailure(m.decoder, error);
  error = avcodec_receive_frame(m.decoder, m.frame);
  if (error < 0) return CodecFailure(m.decoder, error);
  const bool sameSize = m.frame->width == m.output.width && m.frame->height == m.output.height;
  const bool converted =
      sameSize && m.converter.FromFrame(*m.frame, PixelFormatOf(m.outputFormat), pixels,
                                        RowBytesOf(m.outputFormat, m.output.width));
  av_frame_unref(m.frame);
  if (!converted) return TMediaStatus::Failure(AVERROR_INVALIDDATA, "a picture of another size than the stream's");
  return {};
}

void TVideoDecompressorCodec::End() { impl_->Close(); }

}  // namespace fc::media
