// graph.h - the graph holder: a chain of named stages that media components
// build when a stream starts (sources "VideoSource" and "AudioSource",
// converters and encoders, a muxer such as "ASF Writer", a sink), run, and
// stop when it ends; with the holder's error, warning and notification
// events.
//
// Stages pass samples downstream through IDSSampleInput. Source filters
// (graph_stages.h) take samples from the component's thread, queue them and
// deliver them on a streaming thread of their own, as a real-time media
// graph does; the stages after them run on that thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "contracts/pins/time_stamps.h"
#include "platform/media/media_status.h"
#include "platform/runtime/components_api.h"
#include "platform/runtime/persistent.h"

namespace fc {

class TDSGraph;

/// What a sample holds.
enum class TDSMediaType { Video, Audio, CompressedVideo };

/// One sample between stages: its bytes (pixels of the source's format,
/// PCM, or compressed data), its begin and end time, and its chunk flags
/// (0x10 marks a key frame of compressed video).
struct FC_COMPONENTS_API TDSMediaSample {
  TDSMediaType type = TDSMediaType::Video;
  std::vector<std::uint8_t> bytes;
  TPMTimeStamps stamps;
  std::uint32_t flags = 0;
};

/// The input of a stage. Receive is called on the streaming thread of the
/// source the stage is connected after; a failure status is reported by the
/// source through the graph.
class FC_COMPONENTS_API IDSSampleInput {
public:
  virtual media::TMediaStatus Receive(const TDSMediaSample& sample) = 0;

protected:
  ~IDSSampleInput() = default;
};

/// A named stage of a graph.
class FC_COMPONENTS_API TDSGraphStage {
public:
  explicit TDSGraphStage(std::string name) : name_(std::move(name)) {}
  virtual ~TDSGraphStage() = default;
  TDSGraphStage(const TDSGraphStage&) = delete;
  TDSGraphStage& operator=(const TDSGraphStage&) = delete;

  const std::string& Name() const { return name_; }
  /// Sources start last and stop first: a stopping source delivers what it
  /// holds before the stages after it stop.
  virtual bool IsSource() const { return false; }
  /// Called by TDSGraph::Run; a failure stops the run.
  virtual media::TMediaStatus Start() { return {}; }
  /// Called by TDSGraph::Stop: a source delivers what it holds and ends its
  /// thread; a muxer finishes its file.
  virtual void Stop() {}

  /// The graph the stage was added to (set by TDSGraph::AddStage).
  TDSGraph* Graph() const { return graph_; }

private:
  friend class TDSGraph;
  std::string name_;
  TDSGraph* graph_ = nullptr;
};

/// The graph holder, published by media components as their `Graph`
/// property. The stage list is built and run from the component's thread;
/// errors may be reported from streaming threads.
///
/// Errors: `Error(message, code)` is for the thread that builds or runs the
/// graph: the error event gets the message and FFmpeg's code, and unless the
/// handler marks it handled, EFCError "<owner>.Graph: <message> (<FFmpeg's
/// words for the code>)" is raised. `StreamError` is for streaming threads:
/// it never raises; the event gets it, it is logged at warning level, and
/// the first one is kept for the component to raise on its own thread
/// (`TakeStreamError`). Warnings go to the warning event and the log.
class FC_COMPONENTS_API TDSGraph : public TOwnedPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  /// message, code (FFmpeg's negative code as unsigned, see ffmpeg_error.h),
  /// handled (set it to keep Error from raising).
  using TErrorHandler = std::function<void(TDSGraph& graph, const std::string& message, std::uint32_t code,
                                           bool& handled)>;
  using TWarningHandler = std::function<void(TDSGraph& graph, const std::string& message, std::uint32_t code)>;
  using TNotifyHandler = std::function<void(TDSGraph& graph)>;

  TDSGraph(TPersistent* owner, std::string propertyName) : TOwnedPersistent(owner, std::move(propertyName)) {}
  ~TDSGraph() override;

  void SetOnError(TErrorHandler handler);
  void SetOnWarning(TWarningHandler handler);
  void SetOnNotify(TNotifyHandler handler);

  /// Stops and removes every stage: an empty graph to build on.
  void Create();
  /// Adds a stage; null (and the stage dropped) when a stage of that name
  /// exists.
  TDSGraphStage* AddStage(std::unique_ptr<TDSGraphStage> stage);
  TDSGraphStage* FindStage(std::string_view name) const;
  template <class Stage> Stage* Find(std::string_view name) const { return dynamic_cast<Stage*>(FindStage(name)); }
  std::vector<std::string> StageNames() const;

  /// Starts the stages after the sources first, then the sources. On a
  /// failure the started stages stop again and the status is answered.
  media::TMediaStatus Run();
  /// Stops the sources first (they deliver what they hold), then the other
  /// stages in the order they were added. Idempotent.
  void Stop();
  bool IsRunning() const { return running_.load(); }

  void Error(const std::string& message, int code);
  void StreamError(const std::string& message, int code);
  void Warning(const std::string& message, int code);
  /// Fires the notification event (the graph is built).
  void Notify();
  /// The first error reported from a streaming thread since the last call.
  std::optional<std::string> TakeStreamError();

private:
  std::string Describe(const std::string& message, int code) const;

  std::vector<std::unique_ptr<TDSGraphStage>> stages_;
  std::atomic<bool> running_{false};
  mutable std::mutex eventMutex_;  // guards the handlers and the stream error
  TErrorHandler onError_;
  TWarningHandler onWarning_;
  TNotifyHandler onNotify_;
  std::optional<std::string> streamError_;
};

}  // namespace fc
