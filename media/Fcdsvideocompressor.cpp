#include "media/Fcdsvideocompressor.h"

#include <cerrno>
#include <cmath>

#include "platform/media/graph_compressor.h"
#include "platform/media/graph_stages.h"

namespace fc {

const TClassInfo& TFCDSVideoCompressor::StaticClassInfo() {
  using C = TFCDSVideoCompressor;
  static const TClassInfo info = TClassBuilder<C>("TFCDSVideoCompressor", &TComponent::StaticClassInfo())
                                     .Object("Graph", &C::GetGraph)
                                     .Collection("Compressions", &C::GetCompressions)
                                     .Property("Enabled", &C::GetEnabled, &C::SetEnabled, kEnabledDefault)
                                     .Pin("InputPin", &C::GetInputPin)
                                     .Pin("OutputPin", &C::GetOutputPin)
                                     .Build();
  return info;
}

TFCDSVideoCompressor::TFCDSVideoCompressor(TComponent* owner)
    : TComponent(owner),
      inputPin_(this, *this, "InputPin"),
      outputPin_(this, *this, "OutputPin"),
      graph_(this, "Graph"),
      compressions_(this, "Compressions") {}

TFCDSVideoCompressor::~TFCDSVideoCompressor() {
  inputPin_.Retire();
  auto section = WriteLock();
  DestroyGraph();
  section.Release();
  outputPin_.Retire();
}

bool TFCDSVideoCompressor::GetEnabled() const {
  auto section = ReadLock();
  return enabled_;
}

void TFCDSVideoCompressor::SetEnabled(bool enabled) {
  auto section = WriteLock();
  enabled_ = enabled;
}

bool TFCDSVideoCompressor::SinkDispatch(TPMSinkPin&, const TPMOperation& operation) {
  if (const auto* start = operation->As<TPMStartFrameOperation>()) return BeginVideo(*start, operation);
  if (auto frame = FrameOf(operation)) return DoCompression(*frame, operation);
  if (operation->Is<TPMStopOperation>()) {
    {
      auto section = WriteLock();
      DestroyGraph();
    }
    return outputPin_.Send(operation);
  }
  return outputPin_.Send(operation);
}

bool TFCDSVideoCompressor::SourceDispatch(TPMSourcePin&, const TPMOperation& operation) {
  return inputPin_.Request(operation);
}

// Stops the graph, then delivers what the grabber queued and ends the
// delivery thread: nothing grabbed before a stop is stranded.
void TFCDSVideoCompressor::DestroyGraph() {
  graph_.Create();
  {
    std::lock_guard guard(deliveryMutex_);
    delivering_ = false;
  }
  wake_.notify_all();
  if (delivery_.joinable()) delivery_.join();
}

void TFCDSVideoCompressor::StartDelivery() {
  queue_.Clear();
  sentThisStream_ = 0;
  delivering_ = true;
  delivery_ = std::thread([this] { NewThreadVideo(); });
}

bool TFCDSVideoCompressor::Fail(const std::string& message, int code) {
  graph_.Create();
  graph_.Error(message, code);
  return false;
}

bool TFCDSVideoCompressor::BeginVideo(const TPMStartFrameOperation& start, const TPMOperation& operation) {
  if (start.Width() <= 0 || start.Height() <= 0) return outputPin_.Send(operation);
  TFCBitmapInfoHeader input, output;
  std::vector<std::uint8_t> codecData;
  TFCFourCC fourCC = 0;
  bool built = false;
  {
    auto section = WriteLock();
    firstFrame_ = true;
    width_ = start.Width();
    height_ = start.Height();
    pixelFormat_ = start.PixelFormat() == vfYUY2 ? vfYUY2 : vfRGB24;
    rate_ = start.Rate() > 0 ? start.Rate() : 25;
    DestroyGraph();
    if (enabled_) {
      input = UncompressedHeader(width_, height_, static_cast<TFCVideoFormat>(pixelFormat_));
      output = input;
      built = BuildGraph(output, codecData, fourCC);
      if (built) StartDelivery();
    }
  }
  if (!built) return outputPin_.Send(operation);
  return outputPin_.SendStartVideoCompression(input, output, std::move(codecData), fourCC, start.Rate());
}

namespace {

// "codec:mjpeg" or "fourcc:MJPG" as the name the codec manager takes.
std::string CodecNameOf(const std::string& moniker) {
  for (const char* prefix : {"codec:", "fourcc:"})
    if (moniker.starts_with(prefix)) return moniker.substr(std::string_view(prefix).size());
  return moniker;
}

}  // namespace

bool TFCDSVideoCompressor::BuildGraph(TFCBitmapInfoHeader& output, std::vector<std::uint8_t>& codecData,
                                      TFCFourCC& fourCC) {
  graph_.Create();
  const auto format = static_cast<TFCVideoFormat>(pixelFormat_);
  auto* source = static_cast<TDSVideoSourceFilter*>(
      graph_.AddStage(std::make_unique<TDSVideoSourceFilter>("VideoSource", format, width_, height_)));
  if (!source) return Fail("Can't set video source filter.", media::SystemErrorCode(EINVAL));
  auto* grabber = static_cast<TDSSampleGrabber*>(graph_.AddStage(std::make_unique<TDSSampleGrabber>(
      "SampleGrabler", [this](const TDSMediaSample& sample) { NewVideoBuffer(sample); })));
  if (!grabber) return Fail("Can't set video sample grabber.", media::SystemErrorCode(EINVAL));

  const TFCBitmapInfoHeader input = UncompressedHeader(width_, height_, format);
  for (int i = 0; i < compressions_.Count() && !fourCC; ++i) {
    auto codec = media::TVideoCompressorCodec::LocateByName(CodecNameOf(compressions_.Items(i).GetMoniker()), input);
    media::TMediaStatus begun = codec ? codec->Begin(0) : media::TMediaStatus::Failure(-1, "no such compressor");
    if (!begun) {
      graph_.Warning("Can't render video output.", begun.code);
      continue;
    }
    auto stage = std::make_unique<TDSCompressorStage>("VideoCompressor", std::move(codec));
    output = stage->Codec().OutputFormat().header;
    codecData = stage->Codec().OutputFormat().codecData;
    fourCC = stage->Codec().FourCC();
    stage->Connect(grabber);
    source->Connect(static_cast<TDSCompressorStage*>(graph_.AddStage(std::move(stage))));
  }
  if (!fourCC) source->Connect(grabber);
  if (media::TMediaStatus status = graph_.Run(); !status) return Fail("Can't start logger.", status.code);
  graph_.Notify();
  return true;
}

TPMTimeStamps TFCDSVideoCompressor::NextStamps(const TFCImageBuffer& frame) {
  const TPMTimeStamps& own = frame.TimeStamps();
  const auto duration = static_cast<std::int64_t>(std::llround(kTimeUnitsPerSecond / rate_));
  TPMTimeStamps stamps;
  if (own.available) {
    const std::int64_t length = own.end - own.begin;
    stamps.begin = firstFrame_ ? 0 : lastEnd_ + (own.begin - lastFrameEnd_);
    stamps.end = stamps.begin + length;
    lastFrameEnd_ = own.end;
  } else {
    stamps.begin = firstFrame_ ? 0 : lastEnd_;
    stamps.end = stamps.begin + duration;
  }
  stamps.available = true;
  firstFrame_ = false;
  lastEnd_ = stamps.end;
  return stamps;
}

bool TFCDSVideoCompressor::DoCompression(const TFCImageBuffer& frame, const TPMOperation& operation) {
  auto section = WriteLock();
  auto* source = graph_.Find<TDSVideoSourceFilter>("VideoSource");
  if (!source || !graph_.IsRunning()) {
    section.Release();
    return outputPin_.Send(operation);
  }
  TFCImageBuffer own(frame);
  own.ConvertTo(source->Format());
  if (own.Width() != source->Width() || own.Height() != source->Height()) return false;
  const TPMTimeStamps stamps = NextStamps(own);
  return source->Format() == vfYUY2 ? source->SendYUY2(own.Read(), own.Size(), stamps.begin, stamps.end)
                                    : source->SendRGB(own.Read(), own.Size(), stamps.begin, stamps.end);
}

// The grabber's callback, on the graph's streaming thread: the sample lives
// only for this call, so its bytes are copied into the queue, with the
// chunk's key-frame flag.
void TFCDSVideoCompressor::NewVideoBuffer(const TDSMediaSample& sample) {
  queue_.Add(sample.bytes, sample.stamps, sample.flags);
  {
    std::lock_guard guard(deliveryMutex_);
  }
  wake_.notify_all();
}

// The delivery thread: up to 11 chunks per wake-up; at the end of the
// stream, every chunk still queued.
void TFCDSVideoCompressor::NewThreadVideo() {
  for (;;) {
    bool stopping;
    {
      std::unique_lock lock(deliveryMutex_);
      wake_.wait(lock, [&] { return !delivering_ || queue_.Count() > 0; });
      stopping = !delivering_;
    }
    for (int sent = 0; stopping || sent < kSamplesPerWakeUp; ++sent) {
      auto block = queue_.Take();
      if (!block) break;
      auto buffer = std::make_shared<TWCBinaryBuffer>(std::move(block->bytes));
      buffer->SetTimeStamps(block->timeStamps);
      buffer->SetFlags(block->flags);
      outputPin_.SendBuffer(std::move(buffer));
      if (++sentThisStream_ == kStartPumpAfter) outputPin_.Send(MakeOperation<TPMStartPumpOperation>());
    }
    if (stopping) return;
  }
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcdsvideocompressor, TFCDSVideoCompressor)
