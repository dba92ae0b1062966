#include "media/Fcvideocompressor.h"

#include "platform/runtime/log.h"

namespace fc {

const TClassInfo& TFCVideoCompressor::StaticClassInfo() {
  using C = TFCVideoCompressor;
  static const TClassInfo info = TClassBuilder<C>("TFCVideoCompressor", &TComponent::StaticClassInfo())
                                     .Collection("Compressions", &C::GetCompressions)
                                     .Property("Enabled", &C::GetEnabled, &C::SetEnabled, kEnabledDefault)
                                     .Pin("InputPin", &C::GetInputPin)
                                     .Pin("OutputPin", &C::GetOutputPin)
                                     .Pin("EnablePin", &C::GetEnablePin)
                                     .Build();
  return info;
}

TFCVideoCompressor::TFCVideoCompressor(TComponent* owner)
    : TComponent(owner),
      inputPin_(this, *this, "InputPin"),
      outputPin_(this, *this, "OutputPin"),
      enablePin_(this, "EnablePin", [this](TPMValueSinkPin<bool>&, const bool& v) { SetEnabled(v); }),
      compressions_(this, "Compressions") {}

TFCVideoCompressor::~TFCVideoCompressor() {
  inputPin_.Retire();
  outputPin_.Retire();
  enablePin_.Retire();
}

bool TFCVideoCompressor::GetEnabled() const {
  auto section = ReadLock();
  return enabled_;
}

void TFCVideoCompressor::SetEnabled(bool enabled) {
  auto section = WriteLock();
  enabled_ = enabled;
}

std::string TFCVideoCompressor::ActiveFourCC() const {
  auto section = ReadLock();
  return codec_ ? FourCCText(codec_->FourCC()) : std::string();
}

bool TFCVideoCompressor::SinkDispatch(TPMSinkPin&, const TPMOperation& operation) {
  if (const auto* start = operation->As<TPMStartFrameOperation>()) return StartCompression(*start, operation);
  if (auto frame = FrameOf(operation)) return DoCompression(*frame, operation);
  if (operation->Is<TPMStopOperation>()) return StopCompression(operation);
  return outputPin_.Send(operation);
}

bool TFCVideoCompressor::SourceDispatch(TPMSourcePin&, const TPMOperation& operation) {
  return inputPin_.Request(operation);
}

// The first codec of the list that takes the frames, with its quality; else
// any installed one, with quality 0.
std::unique_ptr<media::TVideoCompressorCodec> TFCVideoCompressor::LocateCodec(const TFCBitmapInfoHeader& input,
                                                                              int& quality) {
  for (int i = 0; i < compressions_.Count(); ++i) {
    const TFCVideoCompressionItem& item = compressions_.Items(i);
    if (item.GetFourCC().empty()) continue;
    if (auto codec = media::TVideoCompressorCodec::Locate(MakeFourCC(item.GetFourCC()), input)) {
      quality = item.GetQuality();
      return codec;
    }
  }
  quality = 0;
  return media::TVideoCompressorCodec::Locate(0, input);
}

bool TFCVideoCompressor::StartCompression(const TPMStartFrameOperation& start, const TPMOperation& operation) {
  TFCBitmapInfoHeader input, output;
  std::vector<std::uint8_t> codecData;
  TFCFourCC fourCC = 0;
  {
    auto section = WriteLock();
    codec_.reset();
    frameNumber_ = 0;
    const int bitCount = BitCountOf(start.PixelFormat());
    if (enabled_ && bitCount > 0 && start.Width() > 0 && start.Height() > 0) {
      format_ = static_cast<TFCVideoFormat>(start.PixelFormat());
      input = UncompressedHeader(start.Width(), start.Height(), format_);
      int quality = 0;
      codec_ = LocateCodec(input, quality);
      if (codec_) {
        const media::TMediaStatus begun = codec_->Begin(quality);
        if (!begun) {
          LogWarning(NamePath() + ": can't begin compression with " + FourCCText(codec_->FourCC()) + ": " +
                     begun.detail);
          codec_.reset();
        }
      }
      if (codec_) {
        output = codec_->OutputFormat().header;
        codecData = codec_->OutputFormat().codecData;
        fourCC = codec_->FourCC();
      }
    }
  }
  if (!fourCC) return outputPin_.Send(operation);
  return outputPin_.SendStartVideoCompression(input, output, std::move(codecData), fourCC, start.Rate());
}

bool TFCVideoCompressor::DoCompression(const TFCImageBuffer& frame, const TPMOperation& operation) {
  std::shared_ptr<TWCBinaryBuffer> block;
  {
    auto section = WriteLock();
    if (!codec_) {
      section.Release();
      return outputPin_.Send(operation);
    }
    TFCImageBuffer own(frame);
    own.ConvertTo(format_);
    media::TCompressedChunk chunk;
    const std::int64_t number = frameNumber_++;
    const bool sameSize = own.Width() == codec_->OutputFormat().header.width &&
                          own.Height() == codec_->OutputFormat().header.height;
    const media::TMediaStatus status =
        sameSize ? codec_->Compress(own.Read(), number, chunk)
                 : media::TMediaStatus::Failure(-1, "a frame of another size than the stream's");
    if (!status) {
      if (dropped_++ == 0) LogWarning(NamePath() + ": a frame failed to compress: " + status.detail);
      return false;
    }
    block = std::make_shared<TWCBinaryBuffer>(std::move(chunk.bytes));
    block->SetFlags(chunk.flags);
    block->SetTimeStamps(frame.TimeStamps());
  }
  ++compressed_;
  return outputPin_.SendBuffer(std::move(block));
}

bool TFCVideoCompressor::StopCompression(const TPMOperation& operation) {
  {
    auto section = WriteLock();
    if (codec_) codec_->End();
    codec_.reset();
  }
  return outputPin_.Send(operation);
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcvideocompressor, TFCVideoCompressor)
