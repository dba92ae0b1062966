#include "platform/media/graph.h"

#include "platform/media/ffmpeg_error.h"
#include "platform/runtime/error.h"
#include "platform/runtime/log.h"

namespace fc {

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TDSGraph, TPersistent)

TDSGraph::~TDSGraph() { Create(); }

void TDSGraph::SetOnError(TErrorHandler handler) {
  std::lock_guard guard(eventMutex_);
  onError_ = std::move(handler);
}

void TDSGraph::SetOnWarning(TWarningHandler handler) {
  std::lock_guard guard(eventMutex_);
  onWarning_ = std::move(handler);
}

void TDSGraph::SetOnNotify(TNotifyHandler handler) {
  std::lock_guard guard(eventMutex_);
  onNotify_ = std::move(handler);
}

void TDSGraph::Create() {
  Stop();
  // Stages after the sources may be fed by them until they are gone.
  for (auto& stage : stages_)
    if (stage->IsSource()) stage.reset();
  stages_.clear();
}

TDSGraphStage* TDSGraph::AddStage(std::unique_ptr<TDSGraphStage> stage) {
  if (!stage || FindStage(stage->Name())) return nullptr;
  stage->graph_ = this;
  stages_.push_back(std::move(stage));
  return stages_.back().get();
}

TDSGraphStage* TDSGraph::FindStage(std::string_view name) const {
  for (const auto& stage : stages_)
    if (stage && stage->Name() == name) return stage.get();
  return nullptr;
}

std::vector<std::string> TDSGraph::StageNames() const {
  std::vector<std::string> names;
  for (const auto& stage : stages_) names.push_back(stage->Name());
  return names;
}

media::TMediaStatus TDSGraph::Run() {
  if (running_) return {};
  std::vector<TDSGraphStage*> started;
  for (const bool sources : {false, true})
    for (const auto& stage : stages_) {
      if (stage->IsSource() != sources) continue;
      media::TMediaStatus status = stage->Start();
      if (!status) {
        for (auto it = started.rbegin(); it != started.rend(); ++it) (*it)->Stop();
        return status;
      }
      started.push_back(stage.get());
    }
  running_ = true;
  return {};
}

void TDSGraph::Stop() {
  if (!running_.exchange(false)) return;
  for (const bool sources : {true, false})
    for (const auto& stage : stages_)
      if (stage->IsSource() == sources) stage->Stop();
}

std::string TDSGraph::Describe(const std::string& message, int code) const {
  std::string text = NamePath() + ": " + message;
  if (code < 0) text += " (" + media::FFmpegErrorText(code) + ")";
  return text;
}

void TDSGraph::Error(const std::string& message, int code) {
  TErrorHandler handler;
  {
    std::lock_guard guard(eventMutex_);
    handler = onError_;
  }
  bool handled = false;
  if (handler) handler(*this, message, media::FFmpegErrorCode(code), handled);
  if (!handled) throw EFCError(Describe(message, code));
}

void TDSGraph::StreamError(const std::string& message, int code) {
  const std::string text = Describe(message, code);
  LogWarning(text);
  TErrorHandler handler;
  {
    std::lock_guard guard(eventMutex_);
    handler = onError_;
  }
  bool handled = false;
  if (handler) handler(*this, message, media::FFmpegErrorCode(code), handled);
  if (handled) return;
  std::lock_guard guard(eventMutex_);
  if (!streamError_) streamError_ = text;
}

void TDSGraph::Warning(const std::string& message, int code) {
  LogWarning(Describe(message, code));
  TWarningHandler handler;
  {
    std::lock_guard guard(eventMutex_);
    handler = onWarning_;
  }
  if (handler) handler(*this, message, media::FFmpegErrorCode(code));
}

void TDSGraph::Notify() {
  TNotifyHandler handler;
  {
    std::lock_guard guard(eventMutex_);
    handler = onNotify_;
  }
  if (handler) handler(*this);
}

std::optional<std::string> TDSGraph::TakeStreamError() {
  std::lock_guard guard(eventMutex_);
  return std::exchange(streamError_, std::nullopt);
}

}  // namespace fc
