// Fcdsvideoout.h - video output: sends a video stream, and optionally its
// sound, to a transmit device (a preview window, a DV stream, the null
// output), paced by the device's clock.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "contracts/pins/lock.h"
#include "contracts/video/image_pins.h"
#include "media/digital_video.h"
#include "media/dv_format.h"
#include "package/registered_unit.h"
#include "platform/audio/audio_pins.h"
#include "platform/media/audio_output.h"
#include "platform/media/device_selection.h"
#include "platform/media/graph.h"
#include "platform/media/graph_stages.h"
#include "platform/media/output_devices.h"
#include "platform/media/output_stages.h"
#include "platform/runtime/components_api.h"
#include "platform/signal/clock_thread.h"
#include "platform/signal/main_thread_notifier.h"
#include "platform/signal/operation_list.h"

namespace fc {

/// Video output. A start-frame on "InputPin" announces the stream
/// (`BeginVideo`); the output then opens the device selected by
/// `VideoOutputDevice` (or the first present of its alternatives), builds
/// its graph and runs, and every frame arriving is rendered to the device.
/// A device that takes frames directly gets them as they are (YUY2 and grey
/// frames converted to 24-bit BGR); a DV device gets them through a colour
/// converter, a DV encoder (given `DVFormat` unless its UseCurrent is true)
/// and a DV multiplexer. Sound arriving on "AudioInputPin" goes to
/// `AudioOutputDevice` ("none": nowhere; "default" with a DV device: into
/// the DV stream).
///
/// Pacing: with `EnableMasterPumping` (starts true) the device's reference
/// clock ticks once per frame duration at absolute deadlines, and each tick
/// sends one master pump upstream from the pump thread, so a pumped source
/// delivers exactly one frame per frame duration of the device's clock.
/// Without it frames are rendered as they arrive. `PumpPriority` (starts 0)
/// is the pump thread's priority: its nice value is -PumpPriority, clamped
/// to -20 ... 19; raising it above normal needs the privilege to do so, and
/// where the system refuses the thread keeps its priority.
///
/// While the graph is not running (the device missing, lost or stopped),
/// frames and audio blocks are queued, at most kMaxQueuedFrames and
/// kMaxQueuedBlocks; beyond that the oldest are dropped and counted. Once
/// the graph runs they are rendered first, in order. A video stream waits
/// for the sound of a connected audio pin to begin, but never blocks for
/// it: frames are queued meanwhile, and after kAudioWait without sound the
/// graph is built without it.
///
/// Failures are reported through `Graph`'s error event with fixed messages
/// ("Can't open the DV Device." ...) and leave the graph not built: where
/// the graph is built or run for a stream start or a property change, the
/// error is raised (EFCError) unless the event's handler marks it handled;
/// on streaming threads and in main-thread handling it is only reported. A
/// DV format the DV stream cannot carry (DVHD, DVSL, reduced resolutions,
/// asked with UseCurrent false) is refused with a message naming it. A
/// device lost (its window closed, the
/// reader of its pipe gone) stops the output (graph event 31), as does an
/// aborted graph (event 3); those events are handled on the main thread
/// (TWCMainThreadNotifier::ProcessMessages), and meanwhile nothing more is
/// rendered or pumped.
///
/// Threads: frames and audio arrive on upstream threads; the pump thread and
/// the event clock thread pace; the device may have its own (the preview
/// window's). All stop before the pins go; no thread waits for one that may
/// be waiting for it.
class FC_COMPONENTS_API TFCDSVideoOut : public TComponent, public TPMObject, public IPMPinDispatcher {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr std::int32_t kPumpPriorityDefault = 0;
  static constexpr bool kEnableMasterPumpingDefault = true;
  static constexpr int kMaxQueuedFrames = 30;
  static constexpr int kMaxQueuedBlocks = 100;
  static constexpr std::chrono::milliseconds kAudioWait{500};

  explicit TFCDSVideoOut(TComponent* owner);
  ~TFCDSVideoOut() override;

  TFCDVFormat* GetDVFormat() { return &dvFormat_; }
  /// What the DV stream carries beside its pictures (sound mode, shape,
  /// starting time code), taken when the DV chain is built. The setter
  /// copies `digitalVideo`'s values; VC_DigitalVideo reads them.
  TFCDigitalVideo* GetDigitalVideo() { return &digitalVideo_; }
  void SetDigitalVideo(const TFCDigitalVideo& digitalVideo) { digitalVideo_.Assign(digitalVideo); }
  const TFCDigitalVideo& VC_DigitalVideo() const { return digitalVideo_; }
  TDSGraph* GetGraph() { return &graph_; }
  media::TDSVideoOutputDevice* GetVideoOutputDevice() { return &videoDevice_; }
  media::TDSAudioOutputDevice* GetAudioOutputDevice() { return &audioDevice_; }
  TFCPMImageSinkPin* GetInputPin() { return &inputPin_; }
  TTBAudioSinkPin* GetAudioInputPin() { return &audioInputPin_; }
  std::int32_t GetPumpPriority() const;
  void SetPumpPriority(std::int32_t priority);
  bool GetEnableMasterPumping() const;
  /// Takes effect at the next start of the graph.
  void SetEnableMasterPumping(bool enable);

  /// Announces a video stream: `format` 1 is YUY2 frames, any other value
  /// 24-bit BGR; `frameDuration` in 100-ns units. Does nothing unless width
  /// and height are both positive.
  void BeginVideo(int width, int height, int format, std::int64_t frameDuration);
  void BeginAudio(const TTBWaveFormatExtensible& format);
  /// Renders the frame an operation carries, or queues it while the graph
  /// does not run.
  void RenderImage(const TPMOperation& operation);
  void RenderAudio(const TPMOperation& operation);
  /// Opens and runs the graph when a stream waits for it; true when running.
  bool TryStart();
  /// Finds the device and builds the graph; true when built.
  bool Open();
  bool StartRun();
  void Pause();
  void Resume();
  /// Stops the graph: nothing more is rendered or pumped; it stays built.
  void Stop();
  /// Destroys the graph and closes both devices.
  void Disconnect();
  bool BuildGraph();
  void DestroyGraph();
  void FreeFilters();
  /// 3 (aborted) and 31 (device lost) stop the output.
  void GraphEvent(int code, std::intptr_t param1, std::intptr_t param2);
  /// Ends the sound and clears needs-audio; a video stream still running
  /// goes on without sound. A running DV stream with the sound in it goes
  /// on in the same graph, into the same file, with silence for sound;
  /// other graphs are built again without the sound.
  void EndAudio();

  bool IsOpen() const;
  bool IsRunning() const;
  /// The names of the graph's stages, in the order they were added
  /// ("Video Render", "VideoSource" ...).
  std::vector<std::string> GraphStages() const;
  /// The DV encoder's settings while a DV graph is built (what it was given,
  /// or its own); nothing otherwise.
  std::optional<media::TDSDVEncoderSettings> DVEncoderSettings() const;
  /// The last failure reported, "" when none; and how many there were.
  std::string LastError() const;
  int ErrorCount() const { return errorCount_.load(); }
  /// The open device, null when none (valid until the graph is destroyed).
  media::TDSTransmitDevice* Device() const;
  /// Frames the devices took, over every graph so far.
  std::int64_t FramesRendered() const;
  std::int64_t MasterPumpsSent() const { return pumpsSent_.load(); }
  int QueuedFrames() const { return static_cast<int>(videoOps_.Count()); }
  int QueuedBlocks() const { return static_cast<int>(audioOps_.Count()); }
  std::int64_t DroppedFrames() const { return droppedFrames_.load(); }
  std::int64_t DroppedBlocks() const { return droppedBlocks_.load(); }
  /// The reference-clock times (100-ns) at which the pacing asked to be
  /// woken, from the start of the running graph: 0, d, 2d ... for frame
  /// duration d. For tests and benchmarks.
  std::int64_t LastPacingDeadline() const;

  bool SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) override;
  bool SourceDispatch(TPMSourcePin& pin, const TPMOperation& operation) override;

private:
  // A failed step of the graph's building: the message and FFmpeg's code.
  struct TFailure {
    std::string message;
    int code = 0;
  };
  using TStep = std::optional<TFailure>;

  bool InitCaptureFilters(const std::string& deviceName);
  TStep IntBuildGraph();
  TStep CreateAudioRender();
  bool RenderVideoDirect();
  TStep BuildDVChain();
  void ReportError(const TFailure& failure);
  template <class Stage> Stage* AddStage(std::unique_ptr<Stage> stage);

  bool StartPendingReady() const;
  void Queue(TWCOperationList& list, const TPMOperation& operation, int limit, std::atomic<std::int64_t>& dropped);
  void RenderFrameLocked(const TFCImageBuffer& frame);
  struct TStreaming;
  void RenderAudioLocked(const TPMOperation& operation);
  void ProcessStreams();
  void WaitForAudioWithoutBlocking();
  bool DeviceLostLocked() const;
  void EndVideo();
  void OnDeviceChanged();
  void OnDeviceLost();
  void MainThreadDataProcess();

  void StartPacing();
  void StopPacing();
  media::TDSReferenceClock::TRelease PacingRelease(unsigned generation);
  void OnThreadEventClockEvent();
  void OnThreadClockEvent();
  void ApplyPumpPriority();

  TFCPMImageSinkPin inputPin_;
  TTBAudioSinkPin audioInputPin_;
  TFCDVFormat dvFormat_;
  TFCDigitalVideo digitalVideo_;
  TDSGraph graph_;
  media::TDSVideoOutputDevice videoDevice_;
  media::TDSAudioOutputDevice audioDevice_;

  // Settings and stream state, under the component lock.
  bool enableMasterPumping_ = kEnableMasterPumpingDefault;
  int width_ = 0, height_ = 0, pixelFormat_ = 0;
  std::int64_t frameDuration_ = 0;
  bool startPending_ = false, open_ = false, running_ = false, paused_ = false;
  // needs-audio: the sound has begun and not ended; settled: it began or
  // ended at least once, so a video stream need not wait for it.
  bool needsAudio_ = false, audioSettled_ = false, audioWaitOver_ = false;
  std::chrono::steady_clock::time_point audioWaitStart_{};
  TTBWaveFormatExtensible audioFormat_;
  std::unique_ptr<media::TDSTransmitDevice> device_;
  // Stages of graph_, valid while it is built.
  TDSVideoSourceFilter* videoSource_ = nullptr;
  TDSAudioSourceFilter* audioSource_ = nullptr;
  TDSDeviceRenderStage* videoRender_ = nullptr;
  TDSAudioRenderStage* audioRender_ = nullptr;
  TDSDVEncoderStage* dvEncoder_ = nullptr;
  TDSDVMuxStage* dvMux_ = nullptr;
  bool graphRan_ = false;   // a graph that ran is built again for the next run
  int streaming_ = 0;       // inside a streaming call: errors are not raised
  std::string lastError_;
  std::int64_t streamFrames_ = 0;
  std::int64_t renderedBefore_ = 0;  // by devices already closed

  TWCOperationList videoOps_, audioOps_;
  std::atomic<int> errorCount_{0};
  std::atomic<std::int64_t> pumpsSent_{0}, droppedFrames_{0}, droppedBlocks_{0};
  std::atomic<bool> deviceLost_{false};

  // Pacing, under pacingMutex_ (never held while calling upstream or
  // waiting for the reference clock).
  mutable std::mutex pacingMutex_;
  bool pacing_ = false;
  unsigned pacingGeneration_ = 0;
  media::TDSReferenceClock* pacingClock_ = nullptr;
  std::int64_t pacingBase_ = 0, pacingDeadline_ = 0, pacingPeriod_ = 0;
  std::uint64_t adviseCookie_ = 0;
  int ticksDue_ = 0, pumpsOwed_ = 0;
  std::atomic<std::int32_t> desiredPriority_{kPumpPriorityDefault};
  std::int32_t appliedPriority_ = kPumpPriorityDefault;  // the pump thread's own

  TWCClockThread clock_;       // the pump thread: one master pump per tick
  TWCClockThread eventClock_;  // re-arms the reference clock's advise
  TWCMainThreadNotifier notifier_;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcdsvideoout)
