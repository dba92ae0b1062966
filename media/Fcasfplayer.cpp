// Fcasfplayer.cpp - the player: opening, stream discovery, start, pumping,
// delivery and statuses.
#include "media/Fcasfplayer.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <optional>

#include "platform/media/ffmpeg_error.h"
#include "platform/runtime/error.h"

namespace fc {

namespace {

// Samples of audio per user-clock step when the source has no video.
constexpr std::int64_t kAudioStepSamples = 1024;

std::string Formatted(const char* format, const std::string& text) {
  const int size = std::snprintf(nullptr, 0, format, text.c_str());
  std::string out(static_cast<std::size_t>(std::max(size, 0)), '\0');
  std::snprintf(out.data(), out.size() + 1, format, text.c_str());
  return out;
}

}  // namespace

// What the open found.
struct TFCASFPlayer::TStreams {
  int videoOutput = -1, audioOutput = -1;
  bool videoPresent = false, audioPresent = false;
  int width = 0, height = 0;
  std::int64_t frameDuration = 0;
  int blockAlign = 0, bitsPerSample = 0, channels = 0;
  std::uint32_t samplesPerSecond = 0, sampleSize = 0;
  std::int64_t clockStep = 0;
};

const TClassInfo& TFCASFPlayer::StaticClassInfo() {
  using P = TFCASFPlayer;
  static const TClassInfo info = TClassBuilder<P>("TFCASFPlayer", &TComponent::StaticClassInfo())
                                     .Property("Enabled", &P::GetEnabled, &P::SetEnabled, true)
                                     .Property("FileName", &P::GetFileName, &P::SetFileName, std::string())
                                     .Object("Credentials", &P::GetCredentials)
                                     .Property("Timeout", &P::GetTimeout, &P::SetTimeout, kTimeoutDefault)
                                     .Property("Paused", &P::GetPaused, &P::SetPaused, false)
                                     .Pin("OutputPin", &P::GetOutputPin)
                                     .Pin("AudioOutputPin", &P::GetAudioOutputPin)
                                     .Pin("FileNamePin", &P::GetFileNamePin)
                                     .Pin("EnablePin", &P::GetEnablePin)
                                     .Pin("PausePin", &P::GetPausePin)
                                     .Pin("ClockPin", &P::GetClockPin)
                                     .Build();
  return info;
}

TFCASFPlayer::TFCASFPlayer(TComponent* owner)
    : TComponent(owner), outputPin_(this, *this, "OutputPin"), audioOutputPin_(this, *this, "AudioOutputPin"),
      fileNamePin_(this, "FileNamePin", [this](TPMValueSinkPin<std::string>&, const std::string& name) {
        SetFileName(name);
      }),
      enablePin_(this, "EnablePin", [this](TPMStatePin<bool>&, const bool& on) { SetEnabled(on); }, true),
      pausePin_(this, "PausePin", [this](TPMStatePin<bool>&, const bool& on) { SetPaused(on); }, false),
      clockPin_(this, "ClockPin", [this](TPMClockSinkPin&) { Pump(); }),
      credentials_(this, "Credentials", *this), streams_(std::make_unique<TStreams>()),
      notifier_([this] { FireStatuses(); }), delivery_([this] { NewThreadFrame(); }) {
  enablePin_.SetValue(enabled_);
  pausePin_.SetValue(paused_);
  delivery_.Start(std::chrono::nanoseconds(0));  // wakes when signalled
}

// The reader goes first (its thread may be waiting on the queue), then the
// delivery thread, then the pins.
TFCASFPlayer::~TFCASFPlayer() {
  Close();
  delivery_.Stop();
  videoQueue_.Close();
  fileNamePin_.Retire();
  enablePin_.Retire();
  pausePin_.Retire();
  clockPin_.Retire();
  outputPin_.Retire();
  audioOutputPin_.Retire();
}

// ---- Published properties ----

bool TFCASFPlayer::GetEnabled() const {
  auto section = ReadLock();
  return enabled_;
}

void TFCASFPlayer::SetEnabled(bool enabled) {
  {
    auto section = WriteLock();
    if (enabled == enabled_) return;
    enabled_ = enabled;
  }
  if (enabled) {
    StartOrDisable();
  } else {
    IntStop();
  }
  enablePin_.SetValue(GetEnabled());
}

std::string TFCASFPlayer::GetFileName() const {
  auto section = ReadLock();
  return fileName_;
}

void TFCASFPlayer::SetFileName(std::string fileName) {
  bool restart;
  {
    auto section = WriteLock();
    if (fileName == fileName_) return;
    fileName_ = std::move(fileName);
    restart = enabled_;
  }
  if (!restart) return;
  // A new source replaces the one playing: closed, then opened afresh.
  Close();
  StartOrDisable();
  enablePin_.SetValue(GetEnabled());
}

// Starts; when that fails (or raises), Enabled falls back to false.
void TFCASFPlayer::StartOrDisable() {
  bool started = false;
  try {
    started = IntStart();
  } catch (...) {
    { auto section = WriteLock(); enabled_ = false; }
    enablePin_.SetValue(false);
    throw;
  }
  if (!started) {
    auto section = WriteLock();
    enabled_ = false;
  }
}

std::int32_t TFCASFPlayer::GetTimeout() const {
  auto section = ReadLock();
  return timeout_;
}

void TFCASFPlayer::SetTimeout(std::int32_t milliseconds) {
  auto section = WriteLock();
  timeout_ = milliseconds;
}

bool TFCASFPlayer::GetPaused() const {
  auto section = ReadLock();
  return paused_;
}

void TFCASFPlayer::SetPaused(bool paused) {
  if (paused == GetPaused()) return;
  if (IsPlaying()) {
    paused ? Pause() : Resume();
    return;
  }
  { auto section = WriteLock(); paused_ = paused; }
  pausePin_.SetValue(paused);
}

void TFCASFPlayer::SetOnPlayerStatus(TFCASFPlayerStatusEvent handler) {
  auto section = WriteLock();
  onPlayerStatus_ = std::move(handler);
}

void TFCASFPlayer::SetOnError(TFCErrorEvent handler) {
  auto section = WriteLock();
  onError_ = std::move(handler);
}

// ---- Queries ----

bool TFCASFPlayer::IsOpened() const {
  std::lock_guard guard(stateMutex_);
  return opened_;
}

bool TFCASFPlayer::IsPlaying() const {
  std::lock_guard guard(stateMutex_);
  return playing_;
}

#define FC_STREAM_QUERY(type, name, member)      \
  type TFCASFPlayer::name() const {              \
    std::lock_guard guard(stateMutex_);          \
    return streams_->member;                     \
  }
FC_STREAM_QUERY(bool, HasVideo, videoPresent)
FC_STREAM_QUERY(bool, HasAudio, audioPresent)
FC_STREAM_QUERY(int, VideoWidth, width)
FC_STREAM_QUERY(int, VideoHeight, height)
FC_STREAM_QUERY(std::int64_t, FrameDuration, frameDuration)
FC_STREAM_QUERY(int, AudioChannels, channels)
FC_STREAM_QUERY(std::uint32_t, AudioSampleRate, samplesPerSecond)
FC_STREAM_QUERY(std::int64_t, ClockStep, clockStep)
#undef FC_STREAM_QUERY

std::vector<std::pair<std::string, std::string>> TFCASFPlayer::MetaData() const {
  std::shared_ptr<media::TReader> reader;
  {
    std::lock_guard state(stateMutex_);
    reader = reader_;
  }
  return reader ? reader->MetaData() : std::vector<std::pair<std::string, std::string>>{};
}

std::string TFCASFPlayer::MetaDataValue(const std::string& name) const {
  for (const auto& [key, value] : MetaData())
    if (key == name) return value;
  return {};
}

bool TFCASFPlayer::GetBufferingState(std::int64_t& bufferingTime, std::uint32_t& percent) {
  std::lock_guard guard(control_);
  return advanced_ && advanced_->GetBufferProgress(percent, bufferingTime);
}

// ---- Open and close ----

bool TFCASFPlayer::Open() {
  std::lock_guard guard(control_);
  if (IsOpened()) return true;
  std::string fileName;
  std::int32_t timeout;
  {
    auto section = ReadLock();
    fileName = fileName_;
    timeout = timeout_;
  }
  return OpenReader(fileName, timeout);
}

bool TFCASFPlayer::OpenReader(const std::string& fileName, std::int32_t timeout) {
  {
    std::lock_guard guard(stateMutex_);
    userClockTime_ = 0;
    freeRunning_ = true;
  }
  lastReaderError_ = 0;
  std::unique_ptr<media::TReader> created;
  int code = media::TReader::Create(created);
  if (code < 0) {
    Error("Failed to create reader.", code);
    return false;
  }
  {
    std::lock_guard state(stateMutex_);
    reader_ = std::move(created);
  }
  code = reader_->QueryAdvanced(advanced_);
  if (code < 0) {
    Close();
    Error("Failed to query for advanced reader.", code);
    return false;
  }
  {
    std::lock_guard guard(openMutex_);
    openCompleted_ = openSucceeded_ = false;
    openResult_ = 0;
  }
  code = reader_->Open(fileName, *this, std::chrono::milliseconds(std::max(timeout, 0)));
  if (code >= 0 && !WaitForOpen(timeout, code)) {
    Close();  // abandoned: the player stays closed and sends nothing
    return false;
  }
  if (code < 0) {
    Close();
    Error(Formatted("Failed to open %s", fileName), code);
    return false;
  }
  std::lock_guard guard(stateMutex_);
  opened_ = true;
  if (streams_->videoPresent) videoQueue_.SetFrameFormat(streams_->width, streams_->height, vfRGB24);
  if (streams_->audioPresent)
    audioQueue_.SetByteLimit(static_cast<std::size_t>(streams_->blockAlign) * streams_->samplesPerSecond * kAudioQueueSeconds);
  return true;
}

// Waits up to `timeout` ms (0 or less: without limit) for the reader's open
// to complete. False when it did not complete in time (a timeout reported
// by the reader counts as such); otherwise `result` is 0 or its error.
bool TFCASFPlayer::WaitForOpen(std::int32_t timeout, int& result) {
  std::unique_lock lock(openMutex_);
  const auto done = [this] { return openCompleted_; };
  if (timeout > 0) {
    if (!openDone_.wait_for(lock, std::chrono::milliseconds(timeout), done)) return false;
  } else {
    openDone_.wait(lock, done);
  }
  if (openResult_ == media::kReaderTimedOut) return false;
  result = openSucceeded_ ? 0 : (openResult_ < 0 ? openResult_ : -EIO);
  return true;
}

void TFCASFPlayer::Close() {
  std::lock_guard guard(control_);
  IntStop();
  if (reader_) reader_->Close();
  std::lock_guard state(stateMutex_);
  reader_.reset();
  advanced_ = nullptr;
  opened_ = started_ = false;
  *streams_ = TStreams();
}

// Runs on the reader thread when the open completed: the first video output
// delivering 24-bit frames and the first audio output delivering PCM.
void TFCASFPlayer::DiscoverStreams() {
  TStreams found;
  int count = 0;
  reader_->GetOutputCount(count);
  for (int i = 0; i < count && !found.videoPresent; ++i) {
    media::TOutputProps props;
    if (reader_->GetOutputProps(i, props) < 0) continue;
    if (props.majorType == media::TMajorType::Video && props.subtype == media::TSubtype::RGB24 &&
        props.formatType == media::TFormatType::VideoInfo) {
      found.videoOutput = i;
      found.videoPresent = true;
      found.width = props.width;
      found.height = props.height;
      found.frameDuration = props.averageTimePerFrame;
    }
  }
  found.clockStep = found.frameDuration;
  for (int i = 0; i < count && !found.audioPresent; ++i) {
    media::TOutputProps props;
    if (reader_->GetOutputProps(i, props) < 0) continue;
    if (props.majorType == media::TMajorType::Audio && props.subtype == media::TSubtype::PCM &&
        props.formatType == media::TFormatType::WaveFormatEx && props.samplesPerSecond > 0) {
      found.audioOutput = i;
      found.audioPresent = true;
      found.blockAlign = props.blockAlign;
      found.bitsPerSample = props.bitsPerSample;
      found.channels = props.channels;
      found.samplesPerSecond = props.samplesPerSecond;
      found.sampleSize = props.sampleSize;
      if (found.frameDuration == 0)
        found.clockStep = kTimeUnitsPerSecond / static_cast<std::int64_t>(props.samplesPerSecond) * kAudioStepSamples;
    }
  }
  std::lock_guard guard(stateMutex_);
  *streams_ = found;
}

// ---- Start, stop, pause ----

bool TFCASFPlayer::Start() {
  if (IsPlaying()) return true;
  return IntStart();
}

void TFCASFPlayer::Stop() { IntStop(); }

bool TFCASFPlayer::IntStart() {
  std::lock_guard guard(control_);
  if (IsPlaying() || GetFileName().empty() || !Open()) return IsPlaying();
  bool userClock;
  {
    std::lock_guard state(stateMutex_);
    started_ = true;
    clockDriven_ = clockPin_.IsConnected();
    userClock = !freeRunning_ || clockDriven_;
    userClockTime_ = 0;
  }
  advanced_->SetUserProvidedClock(userClock);
  videoQueue_.Clear();
  videoQueue_.Open();
  audioQueue_.Clear();
  audioQueue_.ResetDropped();
  endPending_ = false;
  if (reader_->Start(0, 0, 1.0) < 0) {
    IntStop();
    return false;
  }
  {
    std::lock_guard state(stateMutex_);
    playing_ = true;
  }
  SendFormats();
  if (GetPaused()) Pause();
  return true;
}

// The start of the stream downstream: start-pumps, then the formats of the
// streams that exist.
void TFCASFPlayer::SendFormats() {
  std::lock_guard order(sendOrder_);
  TStreams streams;
  {
    std::lock_guard state(stateMutex_);
    streams = *streams_;
    streamRunning_ = true;
    firstAfterStart_ = true;
    sentAudio_ = 0;
  }
  outputPin_.Send(MakeOperation<TPMStartPumpOperation>());
  if (streams.audioPresent) audioOutputPin_.Send(MakeOperation<TPMStartPumpOperation>());
  if (streams.videoPresent) {
    const double rate = streams.frameDuration > 0 ? double(kTimeUnitsPerSecond) / double(streams.frameDuration) : 0;
    outputPin_.SendStartFrame(streams.width, streams.height, rate, vfRGB24);
  }
  if (streams.audioPresent) {
    const TTBWaveFormatExtensible format =
        MakePcmWaveFormat(streams.channels, streams.samplesPerSecond, streams.bitsPerSample);
    audioOutputPin_.SendStartWave(format, streams.clockStep);
  }
  delivery_.Signal();  // samples that arrived before the formats
}

void TFCASFPlayer::IntStop() {
  std::lock_guard guard(control_);
  {
    std::lock_guard state(stateMutex_);
    playing_ = false;
  }
  // Release a reader thread waiting for room in the video queue, then stop
  // it: after this nothing new arrives.
  videoQueue_.Close();
  if (reader_) reader_->Stop();
  endPending_ = false;
  std::lock_guard order(sendOrder_);
  videoQueue_.Clear();
  audioQueue_.Clear();
  SendStops();
}

// A stop on the outputs of the stream that went out, once.
void TFCASFPlayer::SendStops() {
  bool video, audio;
  {
    std::lock_guard state(stateMutex_);
    if (!streamRunning_) return;
    streamRunning_ = false;
    video = streams_->videoPresent;
    audio = streams_->audioPresent;
  }
  if (video) outputPin_.SendStop();
  if (audio) audioOutputPin_.SendStop();
}

void TFCASFPlayer::Pause() {
  {
    std::lock_guard guard(control_);
    if (reader_) reader_->Pause();
  }
  { auto section = WriteLock(); paused_ = true; }
  pausePin_.SetValue(true);
  if (GetEnabled()) SendPauseOrResume(MakeOperation<TPMPauseOperation>());
}

void TFCASFPlayer::Resume() {
  {
    std::lock_guard guard(control_);
    if (reader_) reader_->Resume();
  }
  { auto section = WriteLock(); paused_ = false; }
  pausePin_.SetValue(false);
  if (GetEnabled()) SendPauseOrResume(MakeOperation<TPMResumeOperation>());
}

void TFCASFPlayer::SendPauseOrResume(const TPMOperation& operation) {
  bool video, audio;
  {
    std::lock_guard state(stateMutex_);
    video = streams_->videoPresent;
    audio = streams_->audioPresent;
  }
  std::lock_guard order(sendOrder_);
  if (video) outputPin_.Send(operation);
  if (audio) audioOutputPin_.Send(operation);
}

// ---- Pumping ----

void TFCASFPlayer::IntPump() {
  std::int64_t time;
  std::shared_ptr<media::TReader> reader;
  {
    std::lock_guard state(stateMutex_);
    if (streams_->clockStep == 0 || !reader_) return;
    userClockTime_ += streams_->clockStep;
    time = userClockTime_;
    reader = reader_;
  }
  reader->DeliverTime(time);
}

void TFCASFPlayer::Pump() {
  {
    std::lock_guard state(stateMutex_);
    if (!playing_ || !clockDriven_) return;
  }
  IntPump();
}

// A master pump paces a player that downstream drives: the first one ends
// free running; one pin and sender pace it, each pump once.
bool TFCASFPlayer::MasterPump(TPMSourcePin& pin, const TPMOperation& operation) {
  const auto* pump = operation->As<TPMMasterPumpOperation>();
  bool switchClock = false;
  {
    std::lock_guard state(stateMutex_);
    if (!playing_) return false;
    if (freeRunning_) {
      freeRunning_ = false;
      switchClock = !clockDriven_;
      firstAfterStart_ = true;
    }
    const bool samePumper = lastPumpPin_ == &pin && lastPumpSender_ == pump->Sender();
    if (!firstAfterStart_ && !(samePumper && lastPump_ != operation)) return true;
    lastPumpPin_ = &pin;
    lastPumpSender_ = pump->Sender();
    lastPump_ = operation;
    firstAfterStart_ = false;
  }
  if (switchClock) {
    std::shared_ptr<media::TReader> reader;
    {
      std::lock_guard state(stateMutex_);
      reader = reader_;
    }
    if (reader) reader->SetUserProvidedClock(true);
  }
  IntPump();
  return true;
}

// ---- Operations at the pins ----

bool TFCASFPlayer::SinkDispatch(TPMSinkPin&, const TPMOperation&) { return false; }

bool TFCASFPlayer::SourceDispatch(TPMSourcePin& pin, const TPMOperation& operation) {
  if (operation->Is<TPMMasterPumpOperation>()) return MasterPump(pin, operation);
  if (operation->Is<TPMStartOperation>()) return IntStart();
  if (operation->Is<TPMStopOperation>()) {
    IntStop();
    return true;
  }
  const bool disabled = !GetEnabled();
  if ((operation->Is<TPMQueryStreamOperation>() && disabled) ||
      (operation->Is<TPMIgnoreStreamOperation>() && (disabled || GetFileName().empty()))) {
    AnswerIgnore();
    return true;
  }
  if (operation->Is<TPMQueryStreamOperation>()) return IsPlaying();
  return false;
}

void TFCASFPlayer::AnswerIgnore() {
  outputPin_.Send(MakeOperation<TPMIgnoreStreamOperation>());
  audioOutputPin_.Send(MakeOperation<TPMIgnoreStreamOperation>());
}

// ---- Errors ----

void TFCASFPlayer::Error(const std::string& message, int code) {
  TFCErrorEvent handler;
  {
    auto section = ReadLock();
    handler = onError_;
  }
  const std::uint32_t unsignedCode = media::FFmpegErrorCode(code);
  bool handled = false;
  if (handler) handler(*this, message, unsignedCode, handled);
  if (handled) return;
  char text[64];
  std::snprintf(text, sizeof text, " - %" PRIu32 " - %" PRIx32, unsignedCode, unsignedCode);
  throw EFCError(NamePath() + ": " + message + text + " (" + media::FFmpegErrorText(code) + ")");
}

// ---- Reader callbacks (reader thread) ----

void TFCASFPlayer::OnStatus(media::TReaderStatus status, int result) {
  if (status == media::rsError) lastReaderError_ = result;
  if (status == media::rsOpened || status == media::rsError) {
    if (status == media::rsOpened) DiscoverStreams();
    std::lock_guard guard(openMutex_);
    if (!openCompleted_) {
      openCompleted_ = true;
      openSucceeded_ = status == media::rsOpened;
      openResult_ = result;
      openDone_.notify_all();
      // An open abandoned after the timeout leaves no trace.
      if (result == media::kReaderTimedOut) return;
    }
  }
  if (status == media::rsEndOfFile) {
    // Goes out once delivery has sent everything queued before it.
    endPending_ = true;
    delivery_.Signal();
    return;
  }
  QueueStatus(PlayerStatusOf(status));
}

void TFCASFPlayer::OnSample(int output, std::int64_t sampleTime, std::int64_t duration,
                            std::span<const std::uint8_t> data) {
  int videoOutput, audioOutput;
  {
    std::lock_guard state(stateMutex_);
    videoOutput = streams_->videoPresent ? streams_->videoOutput : -1;
    audioOutput = streams_->audioPresent ? streams_->audioOutput : -1;
  }
  const TPMTimeStamps stamps{sampleTime, sampleTime + duration, true};
  if (output == videoOutput) {
    // Waits while the queue is full; a stop releases it.
    if (!videoQueue_.Push(data, stamps)) return;
  } else if (output == audioOutput) {
    audioQueue_.Add(data, stamps);
  } else {
    return;
  }
  delivery_.Signal();
}

bool TFCASFPlayer::AcquireCredentials(std::string_view, std::string_view, char* user, std::size_t userLength,
                                      char* password, std::size_t passwordLength, int, std::uint32_t& flags) {
  flags = 0;
  const bool copied = CopyCredential(credentials_.GetUserName(), user, userLength) &&
                      CopyCredential(credentials_.GetPassword(), password, passwordLength);
  if (!copied) {
    CopyCredential("", user, userLength);
    CopyCredential("", password, passwordLength);
  }
  return copied;
}

// ---- Delivery (delivery thread) ----

void TFCASFPlayer::NewThreadFrame() {
  std::lock_guard order(sendOrder_);
  // The reader starts before the formats go out, so its first samples (even
  // its end) may arrive first: they wait in the queues until SendFormats
  // wakes delivery again. The running flag changes only under sendOrder_.
  {
    std::lock_guard state(stateMutex_);
    if (!streamRunning_) return;
  }
  // At the end of the source everything queued goes out before the end is
  // reported; otherwise a wake sends a few rounds (every sample wakes it).
  const bool ending = endPending_;
  std::int64_t sent = 0;
  for (int round = 0; ending || round < kDeliveryRounds; ++round)
    if (!DeliverRound(sent)) break;
  if (ending && endPending_.exchange(false)) FinishEndOfFile();
}

// One frame and one block; false when both queues were empty.
bool TFCASFPlayer::DeliverRound(std::int64_t& framesSent) {
  IFCImageBuffer frame = videoQueue_.Take();
  std::optional<TFCDSBufferBlock> block = audioQueue_.Take();
  if (!frame && !block) return false;
  TStreams streams;
  {
    std::lock_guard state(stateMutex_);
    streams = *streams_;
  }
  if (frame) {
    outputPin_.SendFrame(std::move(frame));
    ++framesSent;
  }
  if (block && streams.blockAlign > 0) {
    auto buffer = std::make_shared<TTBAudioBuffer>(std::int64_t(block->bytes.size()) / streams.blockAlign,
                                                   streams.channels, streams.bitsPerSample, streams.samplesPerSecond);
    buffer->Fill(block->bytes);
    buffer->SetTimeStamps(block->timeStamps);
    audioOutputPin_.SendAudio(std::move(buffer));
    bool pumpNow;
    {
      std::lock_guard state(stateMutex_);
      // Counts to 4 at most, so the third block after a start is the only
      // one followed by a start-pump.
      pumpNow = sentAudio_ < 4 && ++sentAudio_ == 3;
    }
    if (pumpNow) audioOutputPin_.Send(MakeOperation<TPMStartPumpOperation>());
  }
  return true;
}

void TFCASFPlayer::FinishEndOfFile() {
  SendStops();
  QueueStatus(apsEndOfFile);
}

// ---- Statuses (main thread) ----

void TFCASFPlayer::QueueStatus(TFCASFPlayerStatus status) {
  {
    std::lock_guard guard(statusMutex_);
    statuses_.push_back(status);
  }
  notifier_.Signal();
}

void TFCASFPlayer::FireStatuses() {
  for (;;) {
    TFCASFPlayerStatus status;
    {
      std::lock_guard guard(statusMutex_);
      if (statuses_.empty()) return;
      status = statuses_.front();
      statuses_.pop_front();
    }
    TFCASFPlayerStatusEvent handler;
    {
      auto section = ReadLock();
      handler = onPlayerStatus_;
    }
    if (handler) handler(*this, status);
  }
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcasfplayer, TFCASFPlayer)
