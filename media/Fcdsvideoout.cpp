#include "media/Fcdsvideoout.h"

#include <algorithm>
#include <cmath>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/runtime/log.h"

FC_DEFINE_REGISTERED_UNIT(Fcdsvideoout, fc::TFCDSVideoOut)

namespace fc {

namespace {

constexpr int kGraphAborted = 3;
constexpr int kDeviceLost = 31;
// A pacing deadline further behind the clock than this is not caught up
// with a burst of pumps: the pacing starts afresh from now.
constexpr std::int64_t kMaxCatchUp = kTimeUnitsPerSecond;

std::int64_t DurationOf(double rate) {
  return rate > 0 ? static_cast<std::int64_t>(std::llround(kTimeUnitsPerSecond / rate)) : 0;
}

}  // namespace

const TClassInfo& TFCDSVideoOut::StaticClassInfo() {
  using V = TFCDSVideoOut;
  static const TClassInfo info =
      TClassBuilder<V>("TFCDSVideoOut", &TComponent::StaticClassInfo())
          .Object("DVFormat", &V::GetDVFormat)
          .Object("DigitalVideo", &V::GetDigitalVideo)
          .Object("Graph", &V::GetGraph)
          .Object("VideoOutputDevice", &V::GetVideoOutputDevice)
          .Object("AudioOutputDevice", &V::GetAudioOutputDevice)
          .Property("PumpPriority", &V::GetPumpPriority, &V::SetPumpPriority, kPumpPriorityDefault)
          .Property("EnableMasterPumping", &V::GetEnableMasterPumping, &V::SetEnableMasterPumping,
                    kEnableMasterPumpingDefault)
          .Pin("InputPin", &V::GetInputPin)
          .Pin("AudioInputPin", &V::GetAudioInputPin)
          .Build();
  return info;
}

TFCDSVideoOut::TFCDSVideoOut(TComponent* owner)
    : TComponent(owner), inputPin_(this, *this, "InputPin"), audioInputPin_(this, *this, "AudioInputPin"),
      dvFormat_(this, "DVFormat", *this),
      digitalVideo_(this, "DigitalVideo", *this), graph_(this, "Graph"), videoDevice_(this, "VideoOutputDevice", [this] { OnDeviceChanged(); }),
      audioDevice_(this, "AudioOutputDevice", [this] { OnDeviceChanged(); }),
      clock_([this] { OnThreadClockEvent(); }), eventClock_([this] { OnThreadEventClockEvent(); }),
      notifier_([this] { MainThreadDataProcess(); }) {
  // Both threads live as long as the component and tick when signalled, so
  // no stop or start of the pacing ever waits for a pump in progress.
  clock_.Start(std::chrono::nanoseconds(0));
  eventClock_.Start(std::chrono::nanoseconds(0));
}

// Nothing arrives once the pins are retired; then the pacing stops, its
// threads end (a pump in progress returns: upstream delivers to retired
// pins no more), and the graph and its devices go.
TFCDSVideoOut::~TFCDSVideoOut() {
  inputPin_.Retire();
  audioInputPin_.Retire();
  StopPacing();
  clock_.Stop();
  eventClock_.Stop();
  auto section = WriteLock();
  DestroyGraph();
}

// ---- Properties ----

std::int32_t TFCDSVideoOut::GetPumpPriority() const { return desiredPriority_.load(); }

void TFCDSVideoOut::SetPumpPriority(std::int32_t priority) {
  desiredPriority_ = priority;
  clock_.Signal();  // the pump thread applies it at its next tick
}

bool TFCDSVideoOut::GetEnableMasterPumping() const {
  auto section = ReadLock();
  return enableMasterPumping_;
}

void TFCDSVideoOut::SetEnableMasterPumping(bool enable) {
  auto section = WriteLock();
  enableMasterPumping_ = enable;
}

bool TFCDSVideoOut::IsOpen() const {
  auto section = ReadLock();
  return open_;
}

bool TFCDSVideoOut::IsRunning() const {
  auto section = ReadLock();
  return running_;
}

std::vector<std::string> TFCDSVideoOut::GraphStages() const {
  auto section = ReadLock();
  return graph_.StageNames();
}

std::optional<media::TDSDVEncoderSettings> TFCDSVideoOut::DVEncoderSettings() const {
  auto section = ReadLock();
  if (!dvEncoder_) return std::nullopt;
  return dvEncoder_->GetFormat();
}

std::int64_t TFCDSVideoOut::FramesRendered() const {
  auto section = ReadLock();
  return renderedBefore_ + (device_ ? device_->FramesRendered() : 0);
}

std::string TFCDSVideoOut::LastError() const {
  auto section = ReadLock();
  return lastError_;
}

media::TDSTransmitDevice* TFCDSVideoOut::Device() const {
  auto section = ReadLock();
  return device_.get();
}

std::int64_t TFCDSVideoOut::LastPacingDeadline() const {
  std::lock_guard guard(pacingMutex_);
  return pacingDeadline_;
}

// ---- Errors and stages ----

// Marks the calls made on streaming threads (and on the main thread for
// them): an error there is reported, never raised into the stream's sender.
struct TFCDSVideoOut::TStreaming {
  explicit TStreaming(TFCDSVideoOut& out) : out_(out) { ++out_.streaming_; }
  ~TStreaming() { --out_.streaming_; }
  TFCDSVideoOut& out_;
};

void TFCDSVideoOut::ReportError(const TFailure& failure) {
  lastError_ = failure.message;
  ++errorCount_;
  if (streaming_ > 0)
    graph_.StreamError(failure.message, failure.code);
  else
    graph_.Error(failure.message, failure.code);
}

template <class Stage> Stage* TFCDSVideoOut::AddStage(std::unique_ptr<Stage> stage) {
  return static_cast<Stage*>(graph_.AddStage(std::move(stage)));
}

// ---- Streams ----

void TFCDSVideoOut::BeginVideo(int width, int height, int format, std::int64_t frameDuration) {
  if (width <= 0 || height <= 0) return;
  auto section = WriteLock();
  if (open_ && (width != width_ || height != height_ || frameDuration != frameDuration_)) DestroyGraph();
  width_ = width;
  height_ = height;
  pixelFormat_ = format == vfYUY2 ? vfYUY2 : vfRGB24;
  frameDuration_ = frameDuration;
  startPending_ = true;
  audioWaitOver_ = false;
  audioWaitStart_ = {};
  TryStart();
}

void TFCDSVideoOut::BeginAudio(const TTBWaveFormatExtensible& format) {
  auto section = WriteLock();
  audioFormat_ = format;
  needsAudio_ = true;
  audioSettled_ = true;
  // A DV stream whose sound ended takes it again when it comes back as it
  // was (in another format it stays silent rather than start the file
  // afresh); a graph built before the sound began has no way for it: build
  // again.
  if (open_ && dvMux_ && audioSource_ && dvMux_->SoundEnded()) {
    if (format == audioSource_->Format()) {
      audioSource_->Start();
      dvMux_->ResumeSound();
    }
  } else if (open_ && !audioSource_ && !audioDevice_.IsNone()) {
    DestroyGraph();
  }
  TryStart();
}

void TFCDSVideoOut::EndVideo() {
  auto section = WriteLock();
  if (running_ && !DeviceLostLocked()) ProcessStreams();  // deliver what is held
  DestroyGraph();
  startPending_ = false;
  droppedFrames_ += static_cast<std::int64_t>(videoOps_.Clear());
}

void TFCDSVideoOut::EndAudio() {
  auto section = WriteLock();
  const bool hadAudio = audioSource_ != nullptr;
  needsAudio_ = false;
  audioSettled_ = true;
  droppedBlocks_ += static_cast<std::int64_t>(audioOps_.Clear());
  if (!hadAudio) return;
  if (running_ && dvMux_) {
    // Building again would start the DV file afresh: the stream goes on,
    // the sound already sent is delivered, and silence follows.
    audioSource_->Stop();
    dvMux_->EndSound();
    return;
  }
  DestroyGraph();
  TryStart();  // the video goes on without sound
}

bool TFCDSVideoOut::StartPendingReady() const {
  return !audioInputPin_.IsConnected() || needsAudio_ || audioSettled_ || audioWaitOver_;
}

bool TFCDSVideoOut::TryStart() {
  auto section = WriteLock();
  if (!startPending_ || running_) return running_;
  if (!StartPendingReady()) return false;
  if (graphRan_) DestroyGraph();  // a stopped graph's stages are built anew
  return Open() && StartRun();
}

bool TFCDSVideoOut::Open() {
  auto section = WriteLock();
  if (open_) return true;
  const auto name = videoDevice_.FindPresent(media::TransmitDeviceNames());
  if (!name) {
    ReportError({"Can't open the DV Device."});
    return false;
  }
  return InitCaptureFilters(*name) && BuildGraph();
}

bool TFCDSVideoOut::InitCaptureFilters(const std::string& deviceName) {
  FreeFilters();
  graph_.Create();
  auto device = media::CreateTransmitDevice(deviceName, videoDevice_.GetTarget());
  if (!device) {
    ReportError({"Can't create video render filter."});
    return false;
  }
  if (const std::string why = device->Open({width_, height_, frameDuration_}); !why.empty()) {
    LogWarning(NamePath() + ": " + deviceName + ": " + why);
    ReportError({"Can't add video render filter."});
    return false;
  }
  deviceLost_ = false;
  device->SetOnLost([this] { OnDeviceLost(); });
  device_ = std::move(device);
  videoRender_ = AddStage(std::make_unique<TDSDeviceRenderStage>(
      "Video Render", *device_, pixelFormat_ == vfYUY2 ? vfYUY2 : vfRGB24, width_, height_));
  return true;
}

bool TFCDSVideoOut::BuildGraph() {
  auto section = WriteLock();
  TStep failed = device_ ? IntBuildGraph() : TStep(TFailure{"Can't obtain IMediaControl."});
  if (failed) {
    FreeFilters();
    open_ = false;
    ReportError(*failed);
    return false;
  }
  open_ = true;
  graph_.Notify();
  return true;
}

// The graph's six steps: the graph itself, the video source, the audio
// source and sound device, the video render (directly, else through the DV
// chain), the sound render, and the graph's media events.
TFCDSVideoOut::TStep TFCDSVideoOut::IntBuildGraph() {
  const TFCVideoFormat format = pixelFormat_ == vfYUY2 ? vfYUY2 : vfRGB24;
  videoSource_ = AddStage(std::make_unique<TDSVideoSourceFilter>("VideoSource", format, width_, height_));
  if (!videoSource_) return TFailure{"Can't set video source filter."};
  if (!audioSource_ && needsAudio_ && !audioDevice_.IsNone()) {
    audioSource_ = AddStage(std::make_unique<TDSAudioSourceFilter>("AudioSource", audioFormat_));
    if (!audioSource_) return TFailure{"Can't set audio source filter."};
    if (!audioDevice_.IsDefault())
      if (TStep failed = CreateAudioRender()) return failed;
  }
  const bool direct = RenderVideoDirect();
  if (!direct)
    if (TStep failed = BuildDVChain()) return failed;
  if (audioSource_ && !audioSource_->IsConnected()) {
    if (!audioRender_)
      if (TStep failed = CreateAudioRender()) return failed;
    audioSource_->Connect(audioRender_);
  }
  return std::nullopt;
}

TFCDSVideoOut::TStep TFCDSVideoOut::CreateAudioRender() {
  auto renderer = std::make_unique<media::TDSAudioRenderer>();
  if (const std::string why = renderer->Open(audioDevice_.GetDeviceName(), audioFormat_); !why.empty()) {
    LogWarning(NamePath() + ": " + why);
    return TFailure{"Can't create audio render filter."};
  }
  audioRender_ = AddStage(std::make_unique<TDSAudioRenderStage>("Audio Render", std::move(renderer)));
  if (!audioRender_) return TFailure{"Can't add audio render filter."};
  return std::nullopt;
}

bool TFCDSVideoOut::RenderVideoDirect() {
  if (device_->Input() != media::TDSDeviceInput::Bgr24) return false;
  videoSource_->Connect(videoRender_);
  return true;
}

// Colour converter (to the DV size), DV encoder (given DVFormat unless
// UseCurrent), DV multiplexer on the device's output; with the default sound
// device the sound goes into the DV stream through the audio converter.
TFCDSVideoOut::TStep TFCDSVideoOut::BuildDVChain() {
  auto* dvDevice = dynamic_cast<media::TDSDVStreamDevice*>(device_.get());
  auto* mux = dvDevice ? AddStage(std::make_unique<TDSDVMuxStage>("DV Mux", *dvDevice)) : nullptr;
  if (!mux) return TFailure{"Can't create DV Mux."};
  dvEncoder_ = AddStage(
      std::make_unique<TDSDVEncoderStage>("DV Encoder", media::TDSDVEncoderSettings::ForStream(frameDuration_)));
  if (!dvEncoder_) return TFailure{"Can't create DV Encoder."};
  if (!dvFormat_.GetUseCurrent()) dvEncoder_->SetFormat(dvFormat_.EncoderSettings());
  const media::TDSDVEncoderSettings settings = dvEncoder_->GetFormat();
  if (const std::string why = settings.Unwritable(); !why.empty())
    return TFailure{"DVFormat: " + why + "; a DV stream is written in DVSD at dvr720"};
  const media::TDSDVStreamOptions options = digitalVideo_.StreamOptions();
  if (const std::string why = options.Unwritable(settings); !why.empty()) return TFailure{"DigitalVideo: " + why};
  const TFCVideoFormat format = pixelFormat_ == vfYUY2 ? vfYUY2 : vfRGB24;
  if (auto* converter = AddStage(std::make_unique<TDSColorConverterStage>("Color Converter", format, width_, height_))) {
    converter->Connect(dvEncoder_, settings.Width(), settings.Height());
    videoSource_->Connect(converter);
  }
  dvEncoder_->Connect(mux);
  const bool soundInStream = needsAudio_ && audioDevice_.IsDefault();
  if (soundInStream) {
    auto* acm = AddStage(std::make_unique<TDSAudioConverterStage>("ACM Wrapper"));
    if (!acm) return TFailure{"Can't create ACM Wrapper."};
    acm->Connect(mux);
    if (audioSource_) audioSource_->Connect(acm);
  }
  dvMux_ = mux;
  if (media::TMediaStatus status = mux->Configure(settings, options, soundInStream && audioSource_, audioFormat_);
      !status) {
    LogWarning(NamePath() + ": " + status.detail);
    return TFailure{"Can't render video output.", status.code};
  }
  return std::nullopt;
}

bool TFCDSVideoOut::StartRun() {
  auto section = WriteLock();
  streamFrames_ = 0;
  if (!open_ || !device_) {
    ReportError({"Can't start render."});
    return false;
  }
  graphRan_ = true;
  if (media::TMediaStatus status = graph_.Run(); !status) {
    graph_.Stop();
    LogWarning(NamePath() + ": " + status.detail);
    ReportError({"Can't start render.", status.code});
    return false;
  }
  running_ = true;
  paused_ = false;
  if (enableMasterPumping_ && frameDuration_ > 0) StartPacing();
  notifier_.Signal();  // what was queued meanwhile is rendered on the main thread
  return true;
}

void TFCDSVideoOut::Pause() {
  auto section = WriteLock();
  if (!running_ || paused_) return;
  paused_ = true;
  StopPacing();
}

void TFCDSVideoOut::Resume() {
  auto section = WriteLock();
  if (!running_ || !paused_) return;
  paused_ = false;
  if (enableMasterPumping_ && frameDuration_ > 0) StartPacing();
}

void TFCDSVideoOut::Stop() {
  auto section = WriteLock();
  running_ = false;
  paused_ = false;
  StopPacing();
  graph_.Stop();  // the sources deliver what they hold; a DV stream is finished
}

void TFCDSVideoOut::DestroyGraph() {
  auto section = WriteLock();
  running_ = false;
  paused_ = false;
  FreeFilters();
  open_ = false;
}

// The graph's stages go before the device they render to.
void TFCDSVideoOut::FreeFilters() {
  auto section = WriteLock();
  StopPacing();
  graph_.Create();
  videoSource_ = nullptr;
  audioSource_ = nullptr;
  videoRender_ = nullptr;
  audioRender_ = nullptr;
  dvEncoder_ = nullptr;
  dvMux_ = nullptr;
  graphRan_ = false;
  if (device_) {
    device_->SetOnLost({});
    device_->Close();
    renderedBefore_ += device_->FramesRendered();
    device_.reset();
  }
}

void TFCDSVideoOut::Disconnect() {
  auto section = WriteLock();
  if (open_) DestroyGraph();
  FreeFilters();
}

void TFCDSVideoOut::GraphEvent(int code, std::intptr_t, std::intptr_t) {
  if (code == kGraphAborted || code == kDeviceLost) Stop();
}

void TFCDSVideoOut::OnDeviceChanged() {
  Stop();
  Disconnect();
  TryStart();  // a stream still announced goes to the new device
}

// On the thread that found the loss (the window's, or one rendering): stops
// the pumps at once; the rest is done on the main thread.
void TFCDSVideoOut::OnDeviceLost() {
  StopPacing();
  deviceLost_ = true;
  notifier_.Signal();
}

void TFCDSVideoOut::MainThreadDataProcess() {
  if (deviceLost_.exchange(false)) GraphEvent(kDeviceLost, 0, 0);
  auto section = WriteLock();
  TStreaming streaming(*this);
  if (running_ && !DeviceLostLocked()) ProcessStreams();
}

bool TFCDSVideoOut::DeviceLostLocked() const { return device_ && device_->IsLost(); }

// ---- Frames and sound ----

void TFCDSVideoOut::Queue(TWCOperationList& list, const TPMOperation& operation, int limit,
                          std::atomic<std::int64_t>& dropped) {
  list.Push(operation);
  while (list.Count() > static_cast<std::size_t>(limit) && list.Pop()) ++dropped;
}

void TFCDSVideoOut::RenderImage(const TPMOperation& operation) {
  if (!FrameOf(operation)) return;
  auto section = WriteLock();
  TStreaming streaming(*this);
  if (!running_ || DeviceLostLocked()) {
    Queue(videoOps_, operation, kMaxQueuedFrames, droppedFrames_);
    WaitForAudioWithoutBlocking();
    return;
  }
  ProcessStreams();
  RenderFrameLocked(*FrameOf(operation));
}

// A stream waiting for the sound of a connected audio pin queues its frames;
// once it has waited kAudioWait it starts without the sound.
void TFCDSVideoOut::WaitForAudioWithoutBlocking() {
  if (!startPending_ || running_ || StartPendingReady()) return;
  const auto now = std::chrono::steady_clock::now();
  if (audioWaitStart_ == std::chrono::steady_clock::time_point{}) {
    audioWaitStart_ = now;
    return;
  }
  if (now - audioWaitStart_ < kAudioWait) return;
  audioWaitOver_ = true;
  if (TryStart()) ProcessStreams();
}

// Passes the frame to the video source with its times: its own, else those
// of its place in the stream. A frame of another pixel format is converted;
// one of another size than the stream's is dropped and counted.
void TFCDSVideoOut::RenderFrameLocked(const TFCImageBuffer& frame) {
  const std::int64_t number = streamFrames_++;
  TPMTimeStamps stamps = frame.TimeStamps();
  if (!stamps.available) stamps = {number * frameDuration_, (number + 1) * frameDuration_, true};
  const TFCVideoFormat format = videoSource_->Format();
  const TFCImageBuffer* pixels = &frame;
  TFCImageBuffer converted;
  if (frame.Format() != format) {
    converted = frame;
    converted.ConvertTo(format);
    pixels = &converted;
  }
  const bool sent = format == vfYUY2
                        ? videoSource_->SendYUY2(pixels->Read(), pixels->Size(), stamps.begin, stamps.end)
                        : videoSource_->SendRGB(pixels->Read(), pixels->Size(), stamps.begin, stamps.end);
  if (!sent) ++droppedFrames_;
}

void TFCDSVideoOut::RenderAudio(const TPMOperation& operation) {
  if (!AudioOf(operation)) return;
  auto section = WriteLock();
  TStreaming streaming(*this);
  if (!running_ || DeviceLostLocked()) {
    Queue(audioOps_, operation, kMaxQueuedBlocks, droppedBlocks_);
    return;
  }
  ProcessStreams();
  RenderAudioLocked(operation);
}

void TFCDSVideoOut::RenderAudioLocked(const TPMOperation& operation) {
  const auto block = AudioOf(operation);
  if (audioSource_ && block && !audioSource_->SendAudio(block->Bytes(), block->TimeStamps())) ++droppedBlocks_;
}

void TFCDSVideoOut::ProcessStreams() {
  for (;;) {
    const TPMOperation video = videoOps_.Pop();
    const TPMOperation audio = audioOps_.Pop();
    if (!video && !audio) return;
    if (video) RenderFrameLocked(*FrameOf(video));
    if (audio) RenderAudioLocked(audio);
  }
}

// ---- Pins ----

bool TFCDSVideoOut::SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) {
  if (&pin == &inputPin_) {
    if (const auto* start = operation->As<TPMStartFrameOperation>()) {
      BeginVideo(start->Width(), start->Height(), start->PixelFormat(), DurationOf(start->Rate()));
      return true;
    }
    if (operation->Is<TPMSuppliedBufferOperation>()) return RenderImage(operation), true;
    if (operation->Is<TPMStopOperation>()) return EndVideo(), true;
    if (operation->Is<TPMPauseOperation>()) return Pause(), true;
    if (operation->Is<TPMResumeOperation>()) return Resume(), true;
    return false;
  }
  if (&pin == &audioInputPin_) {
    if (const auto* start = operation->As<TTBStartWaveOperation>()) return BeginAudio(start->Format()), true;
    if (operation->Is<TPMSuppliedBufferOperation>()) return RenderAudio(operation), true;
    if (operation->Is<TPMStopOperation>()) return EndAudio(), true;
  }
  return false;
}

bool TFCDSVideoOut::SourceDispatch(TPMSourcePin&, const TPMOperation&) { return false; }

// ---- Pacing ----
//
// The reference clock's advise wakes the event clock thread at absolute
// deadlines base + n x period; each wake re-arms the advise one period after
// the previous deadline (never after "now", so lateness does not accumulate)
// and owes the pump thread one master pump. The pump thread sends it
// upstream. Neither thread is ever joined while the stream runs: stopping
// only ends the pacing generation, so a pump blocked upstream is never
// waited for.

void TFCDSVideoOut::StartPacing() {
  std::lock_guard guard(pacingMutex_);
  pacing_ = true;
  ++pacingGeneration_;
  pacingClock_ = &device_->Clock();
  pacingPeriod_ = frameDuration_;
  pacingBase_ = pacingClock_->GetTime();
  pacingDeadline_ = 0;
  ticksDue_ = pumpsOwed_ = 0;
  adviseCookie_ = pacingClock_->AdviseTime(pacingBase_, pacingDeadline_, PacingRelease(pacingGeneration_));
}

void TFCDSVideoOut::StopPacing() {
  media::TDSReferenceClock* clock;
  std::uint64_t cookie;
  {
    std::lock_guard guard(pacingMutex_);
    if (!pacing_) return;
    pacing_ = false;
    ++pacingGeneration_;
    clock = pacingClock_;
    cookie = adviseCookie_;
    pacingClock_ = nullptr;
    ticksDue_ = pumpsOwed_ = 0;
  }
  clock->Unadvise(cookie);  // a release in progress only counts a tick for no one
}

media::TDSReferenceClock::TRelease TFCDSVideoOut::PacingRelease(unsigned generation) {
  return [this, generation] {
    {
      std::lock_guard guard(pacingMutex_);
      if (!pacing_ || generation != pacingGeneration_) return;
      ++ticksDue_;
    }
    eventClock_.Signal();
  };
}

void TFCDSVideoOut::OnThreadEventClockEvent() {
  {
    std::lock_guard guard(pacingMutex_);
    if (!pacing_ || ticksDue_ == 0) return;
    --ticksDue_;
    ++pumpsOwed_;
    pacingDeadline_ += pacingPeriod_;
    if (pacingClock_->GetTime() - (pacingBase_ + pacingDeadline_) > kMaxCatchUp) {
      pacingBase_ = pacingClock_->GetTime();  // stalled far too long: start afresh
      pacingDeadline_ = 0;
    }
    adviseCookie_ = pacingClock_->AdviseTime(pacingBase_, pacingDeadline_, PacingRelease(pacingGeneration_));
  }
  clock_.Signal();
}

void TFCDSVideoOut::OnThreadClockEvent() {
  ApplyPumpPriority();
  {
    std::lock_guard guard(pacingMutex_);
    if (!pacing_ || pumpsOwed_ == 0) return;
    --pumpsOwed_;
  }
  auto global = TPMGlobalLockObject::WriteLock();
  ++pumpsSent_;
  inputPin_.Request(MakeOperation<TPMMasterPumpOperation>(this));
}

// Runs on the pump thread: a thread's nice value is its own on Linux.
void TFCDSVideoOut::ApplyPumpPriority() {
  const std::int32_t wanted = desiredPriority_.load();
  if (wanted == appliedPriority_) return;
  appliedPriority_ = wanted;
  const int nice = static_cast<int>(std::clamp<std::int64_t>(-static_cast<std::int64_t>(wanted), -20, 19));
  const auto thread = static_cast<id_t>(syscall(SYS_gettid));
  if (setpriority(PRIO_PROCESS, thread, nice) != 0)
    LogDebug(NamePath() + ": PumpPriority " + std::to_string(wanted) + " not applied (nice " +
             std::to_string(nice) + " refused by the system)");
}

}  // namespace fc
