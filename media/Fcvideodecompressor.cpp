#include "media/Fcvideodecompressor.h"

#include <cmath>
#include <cstring>

#include "platform/runtime/log.h"
#include "platform/runtime/resource_budget.h"

namespace fc {

const TClassInfo& TFCVideoDecompressor::StaticClassInfo() {
  using D = TFCVideoDecompressor;
  static const TClassInfo info =
      TClassBuilder<D>("TFCVideoDecompressor", &TComponent::StaticClassInfo())
          .Collection("Decompressions", &D::GetDecompressions)
          .Property("Enabled", &D::GetEnabled, &D::SetEnabled, kEnabledDefault)
          .Property("Width", &D::GetWidth, &D::SetWidth, kWidthDefault)
          .Property("Height", &D::GetHeight, &D::SetHeight, kHeightDefault)
          .Enum("VideoFormat", &D::GetVideoFormat, &D::SetVideoFormat, VideoFormatInfo(), kVideoFormatDefault)
          .Pin("InputPin", &D::GetInputPin)
          .Pin("OutputPin", &D::GetOutputPin)
          .Pin("EnablePin", &D::GetEnablePin)
          .Build();
  return info;
}

TFCVideoDecompressor::TFCVideoDecompressor(TComponent* owner)
    : TComponent(owner),
      inputPin_(this, *this, "InputPin"),
      outputPin_(this, *this, "OutputPin"),
      enablePin_(this, "EnablePin", [this](TPMValueSinkPin<bool>&, const bool& v) { SetEnabled(v); }),
      decompressions_(this, "Decompressions") {}

TFCVideoDecompressor::~TFCVideoDecompressor() {
  inputPin_.Retire();
  outputPin_.Retire();
  enablePin_.Retire();
}

bool TFCVideoDecompressor::GetEnabled() const {
  auto section = ReadLock();
  return enabled_;
}

void TFCVideoDecompressor::SetEnabled(bool enabled) {
  auto section = WriteLock();
  enabled_ = enabled;
}

std::int32_t TFCVideoDecompressor::GetWidth() const {
  auto section = ReadLock();
  return width_;
}

void TFCVideoDecompressor::SetWidth(std::int32_t width) {
  if (width > 0) CheckFrameSide(NamePath(), "Width", static_cast<std::uint32_t>(width));
  auto section = WriteLock();
  width_ = width;
}

std::int32_t TFCVideoDecompressor::GetHeight() const {
  auto section = ReadLock();
  return height_;
}

void TFCVideoDecompressor::SetHeight(std::int32_t height) {
  if (height > 0) CheckFrameSide(NamePath(), "Height", static_cast<std::uint32_t>(height));
  auto section = WriteLock();
  height_ = height;
}

TFCVideoFormat TFCVideoDecompressor::GetVideoFormat() const {
  auto section = ReadLock();
  return videoFormat_;
}

void TFCVideoDecompressor::SetVideoFormat(TFCVideoFormat format) {
  auto section = WriteLock();
  videoFormat_ = format;
}

std::string TFCVideoDecompressor::ActiveFourCC() const {
  auto section = ReadLock();
  return codec_ ? FourCCText(codec_->FourCC()) : std::string();
}

bool TFCVideoDecompressor::SinkDispatch(TPMSinkPin&, const TPMOperation& operation) {
  if (const auto* start = operation->As<TFCStartVideoCompressionOperation>()) return StartVideoDecompression(*start);
  if (operation->Is<TPMStartFrameOperation>()) return StartRetransmittion(operation);
  if (operation->Is<TPMStartOperation>()) return StartDecompression();
  if (auto block = BinaryOf(operation)) return DoDecompression(*block);
  if (operation->Is<TPMStopOperation>()) return StopDecompression(operation);
  return outputPin_.Send(operation);
}

bool TFCVideoDecompressor::SourceDispatch(TPMSourcePin&, const TPMOperation& operation) {
  return inputPin_.Request(operation);
}

// Under the lock: begins the located codec, closing it when that fails.
void TFCVideoDecompressor::BeginOrClose() {
  if (!codec_) return;
  const media::TMediaStatus begun = codec_->Begin();
  if (begun) return;
  LogWarning(NamePath() + ": can't begin decompression: " + begun.detail);
  codec_.reset();
}

bool TFCVideoDecompressor::StartVideoDecompression(const TFCStartVideoCompressionOperation& start) {
  int width, height;
  {
    auto section = WriteLock();
    codec_.reset();
    if (enabled_) {
      const media::TCompressedFormat compressed{start.OutputHeader(), start.CodecData()};
      codec_ = media::TVideoDecompressorCodec::Locate(compressed, &start.InputHeader());
      if (!codec_) codec_ = media::TVideoDecompressorCodec::Locate(compressed, nullptr);
      BeginOrClose();
    }
    if (codec_) {
      const TFCBitmapInfoHeader& header = codec_->OutputHeader();
      outputFormat_ = FrameFormatOf(header).value_or(vfRGB24);
      width = header.width;
      height = header.height;
    } else {  // raw frames of our own size and format
      outputFormat_ = videoFormat_;
      width = width_;
      height = height_;
    }
  }
  return outputPin_.SendStartFrame(width, height, std::round(start.Rate()), outputFormat_);
}

bool TFCVideoDecompressor::StartDecompression() {
  int width, height;
  {
    auto section = WriteLock();
    codec_.reset();
    width = width_;
    height = height_;
    outputFormat_ = videoFormat_;
    const TFCBitmapInfoHeader header = UncompressedHeader(width_, height_, videoFormat_);
    for (int i = 0; enabled_ && !codec_ && i < decompressions_.Count(); ++i) {
      const std::string code = decompressions_.Items(i).GetFourCC();
      if (code.empty()) continue;
      if (auto compressor = media::TVideoCompressorCodec::Locate(MakeFourCC(code), header))
        codec_ = media::TVideoDecompressorCodec::Locate(compressor->OutputFormat(), &header);
    }
    BeginOrClose();
  }
  return outputPin_.SendStartFrame(width, height, kPlainStartRate, outputFormat_);
}

bool TFCVideoDecompressor::StartRetransmittion(const TPMOperation& operation) {
  {
    auto section = WriteLock();
    codec_.reset();
  }
  return outputPin_.Send(operation);
}

bool TFCVideoDecompressor::Drop(const std::string& why) {
  if (dropped_++ == 0) LogWarning(NamePath() + ": " + why);
  return false;
}

bool TFCVideoDecompressor::DoDecompression(const TWCBinaryBuffer& block) {
  auto frame = std::make_shared<TFCImageBuffer>();
  {
    auto section = WriteLock();
    if (codec_) {
      const TFCBitmapInfoHeader& header = codec_->OutputHeader();
      *frame = TFCImageBuffer(header.width, header.height, outputFormat_);
      const media::TMediaStatus status = codec_->Decompress(block.Bytes(), frame->Write());
      if (!status) return Drop("a block failed to decompress: " + status.detail);
    } else {
      if (width_ <= 0 || height_ <= 0) return Drop("raw blocks need a positive Width and Height");
      *frame = TFCImageBuffer(width_, height_, videoFormat_);
      if (block.Size() < frame->Size())
        return Drop("a raw block of " + std::to_string(block.Size()) + " bytes is shorter than one frame");
      std::memcpy(frame->Write(), block.Bytes().data(), frame->Size());
    }
    frame->SetTimeStamps(block.TimeStamps());
  }
  return outputPin_.SendFrame(std::move(frame));
}

bool TFCVideoDecompressor::StopDecompression(const TPMOperation& operation) {
  {
    auto section = WriteLock();
    if (codec_) codec_->End();
    codec_.reset();
  }
  return outputPin_.Send(operation);
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcvideodecompressor, TFCVideoDecompressor)
