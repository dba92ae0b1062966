#include "media/Fcdscommonlogger.h"

#include <cmath>
#include <filesystem>

#include "platform/runtime/error.h"

namespace fc {

const TClassInfo& TFCDSCommonLogger::StaticClassInfo() {
  using L = TFCDSCommonLogger;
  static const TClassInfo info = TClassBuilder<L>("TFCDSCommonLogger", &TComponent::StaticClassInfo())
                                     .Property("FileName", &L::GetFileName, &L::SetFileName, std::string())
                                     .Object("Graph", &L::GetGraph)
                                     .Pin("InputPin", &L::GetInputPin)
                                     .Pin("AudioInputPin", &L::GetAudioInputPin)
                                     .Build();
  return info;
}

TFCDSCommonLogger::TFCDSCommonLogger(TComponent* owner)
    : TComponent(owner),
      inputPin_(this, *this, "InputPin"),
      audioInputPin_(this, *this, "AudioInputPin"),
      graph_(this, "Graph") {}

TFCDSCommonLogger::~TFCDSCommonLogger() { RetireAndFinish(); }

void TFCDSCommonLogger::RetireAndFinish() {
  inputPin_.Retire();
  audioInputPin_.Retire();
  auto section = WriteLock();
  TearDown();
}

std::string TFCDSCommonLogger::GetFileName() const {
  auto section = ReadLock();
  return fileName_;
}

void TFCDSCommonLogger::SetFileName(std::string fileName) {
  auto section = WriteLock();
  fileName_ = std::move(fileName);
}

bool TFCDSCommonLogger::IsRunning() const {
  auto section = ReadLock();
  return running_;
}

media::TWriterProgress TFCDSCommonLogger::CurrentProgress() const {
  media::TWriterProgress progress;
  for (const std::string& name : graph_.StageNames())
    if (auto* writer = graph_.Find<TDSWriterStage>(name)) {
      const auto p = writer->Writer().Progress();
      progress.videoFrames += p.videoFrames;
      progress.bytes += p.bytes;
    }
  return progress;
}

std::int64_t TFCDSCommonLogger::FramesWritten() const {
  auto section = ReadLock();
  return finishedFrames_ + CurrentProgress().videoFrames;
}

std::int64_t TFCDSCommonLogger::BytesWritten() const {
  auto section = ReadLock();
  return finishedBytes_ + CurrentProgress().bytes;
}

std::vector<std::string> TFCDSCommonLogger::Files() const {
  auto section = ReadLock();
  return files_;
}

bool TFCDSCommonLogger::SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) {
  if (&pin == &audioInputPin_) {
    if (const auto* start = operation->As<TTBStartWaveOperation>()) return StartAudio(*start);
    if (auto block = AudioOf(operation)) return LogAudio(*block);
    if (operation->Is<TPMStopOperation>()) return StopAudio();
    return false;
  }
  if (const auto* start = operation->As<TPMStartFrameOperation>()) return StartVideo(*start);
  if (auto frame = FrameOf(operation)) return LogFrame(*frame);
  if (operation->Is<TPMStopOperation>()) return StopStream();
  return false;
}

bool TFCDSCommonLogger::SourceDispatch(TPMSourcePin&, const TPMOperation&) { return false; }

void TFCDSCommonLogger::CountFinishedFile() {
  const media::TWriterProgress progress = CurrentProgress();
  finishedFrames_ += progress.videoFrames;
  finishedBytes_ += progress.bytes;
}

void TFCDSCommonLogger::TearDown() {
  graph_.Stop();
  CountFinishedFile();
  graph_.Create();
  running_ = false;
}

void TFCDSCommonLogger::RaiseStreamError() {
  if (auto error = graph_.TakeStreamError()) throw EFCError(*error);
}

void TFCDSCommonLogger::Build() {
  buildPending_ = false;
  audioPresent_ = audioStarted_;
  running_ = false;
  running_ = BuildGraph();
}

bool TFCDSCommonLogger::StartVideo(const TPMStartFrameOperation& start) {
  auto section = WriteLock();
  TearDown();
  if (start.Width() <= 0 || start.Height() <= 0) {
    streaming_ = buildPending_ = false;
    return false;
  }
  width_ = start.Width();
  height_ = start.Height();
  pixelFormat_ = start.PixelFormat();
  rate_ = start.Rate() > 0 ? start.Rate() : 25;
  streaming_ = true;
  frameNumber_ = 0;
  haveFirstStamp_ = false;
  currentFile_ = fileName_;
  files_ = {currentFile_};
  if (audioInputPin_.IsConnected() && !audioStarted_)
    buildPending_ = true;
  else
    Build();
  return true;
}

bool TFCDSCommonLogger::StartAudio(const TTBStartWaveOperation& start) {
  auto section = WriteLock();
  audioFormat_ = start.Format();
  audioStarted_ = true;
  if (buildPending_) Build();
  return true;
}

bool TFCDSCommonLogger::StopAudio() {
  auto section = WriteLock();
  audioStarted_ = false;
  return true;
}

// The next file of a recording: "out.wmv" gives "out-2.wmv", "out-3.wmv" ...
void TFCDSCommonLogger::NextFile(int width, int height) {
  TearDown();
  width_ = width;
  height_ = height;
  frameNumber_ = 0;
  haveFirstStamp_ = false;
  const std::filesystem::path first(fileName_);
  std::filesystem::path next = first.parent_path() / first.stem();
  next += std::string("-").append(std::to_string(files_.size() + 1));
  next += first.extension();
  currentFile_ = next.string();
  files_.push_back(currentFile_);
  Build();
}

TPMTimeStamps TFCDSCommonLogger::StampsOf(const TFCImageBuffer& frame) {
  const auto duration = static_cast<std::int64_t>(std::llround(kTimeUnitsPerSecond / rate_));
  TPMTimeStamps stamps = frame.TimeStamps();
  if (stamps.available) {
    if (!haveFirstStamp_) firstStamp_ = stamps.begin;
    haveFirstStamp_ = true;
    stamps.begin -= firstStamp_;
    stamps.end -= firstStamp_;
  } else {
    stamps = {frameNumber_ * duration, (frameNumber_ + 1) * duration, true};
  }
  ++frameNumber_;
  return stamps;
}

bool TFCDSCommonLogger::LogFrame(const TFCImageBuffer& frame) {
  auto section = WriteLock();
  RaiseStreamError();
  if (!streaming_) return false;
  if (buildPending_) Build();
  if (running_ && (frame.Width() != width_ || frame.Height() != height_)) NextFile(frame.Width(), frame.Height());
  auto* source = graph_.Find<TDSVideoSourceFilter>("VideoSource");
  if (!running_ || !source) return false;
  TFCImageBuffer own(frame);
  own.ConvertTo(RecordedFormat());
  const TPMTimeStamps stamps = StampsOf(own);
  if (RecordedFormat() == vfYUY2) return source->SendYUY2(own.Read(), own.Size(), stamps.begin, stamps.end);
  return source->SendRGB(own.Read(), own.Size(), stamps.begin, stamps.end);
}

bool TFCDSCommonLogger::LogAudio(const TTBAudioBuffer& block) {
  auto section = WriteLock();
  auto* source = graph_.Find<TDSAudioSourceFilter>("AudioSource");
  if (!running_ || !audioPresent_ || !source) return false;
  if (block.Channels() != audioFormat_.channels || block.BitsPerSample() != audioFormat_.bitsPerSample) return false;
  return source->SendAudio(block.Bytes(), block.TimeStamps());
}

bool TFCDSCommonLogger::StopStream() {
  auto section = WriteLock();
  streaming_ = false;
  buildPending_ = false;
  TearDown();
  RaiseStreamError();
  return true;
}

}  // namespace fc

FC_DEFINE_UNIT(Fcdscommonlogger)
