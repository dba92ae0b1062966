#include "components/Fcqueuedswitch.h"

#include <algorithm>
#include <cmath>

namespace fc {

namespace {

// A master pump from downstream asks a channel for more while it holds fewer
// than this many entries.
constexpr std::size_t kPumpBelow = 100;

}  // namespace

// What one submission took from the active channel, and what to call.
struct TFCQueuedSwitch::TTaken {
  TPMOperation video, audio;
  TFCNotifyEvent belowMin;  // the channel's OnThresholdMin, when it fell below
  bool switched = false;    // moved to the next channel
};

const TClassInfo& TFCQueuedSwitch::StaticClassInfo() {
  using S = TFCQueuedSwitch;
  static const TClassInfo info = TClassBuilder<S>("TFCQueuedSwitch", &TComponent::StaticClassInfo())
                                     .Collection("InputChannels", &S::GetInputChannels)
                                     .Property("ActiveChannelIndex", &S::GetActiveChannelIndex,
                                               &S::SetActiveChannelIndex)
                                     .Property("Paused", &S::GetPaused, &S::SetPaused)
                                     .Pin("OutputPin", &S::GetOutputPin)
                                     .Pin("AudioOutputPin", &S::GetAudioOutputPin)
                                     .PinList("InputPins", &S::GetInputPins)
                                     .PinList("AudioInputPins", &S::GetAudioInputPins)
                                     .Build();
  return info;
}

TFCQueuedSwitch::TFCQueuedSwitch(TComponent* owner)
    : TComponent(owner), outputPin_(this, *this, "OutputPin"), audioOutputPin_(this, *this, "AudioOutputPin"),
      inputPins_(this, false, "InputPins"), audioInputPins_(this, false, "AudioInputPins"),
      channels_(
          this, "InputChannels", [this](TPMExtCollectionItem& item) { ChannelAdded(item); },
          [this](TPMExtCollectionItem& item) { ChannelRemoving(item); }),
      clock_([this] { OnThreadClockEvent(); }) {
  clock_.Start(std::chrono::nanoseconds(0));  // ticks when signalled
}

// The clocks stop first, whatever is queued; then the pins go, inputs first
// so no producer is inside the switch while its state is destroyed (and none
// can start the pump master's clock again).
TFCQueuedSwitch::~TFCQueuedSwitch() {
  ReleaseTimer();
  clock_.Stop();
  for (int i = 0; i < channels_.Count(); ++i) {
    channels_.Items(i).GetInputPin()->Retire();
    channels_.Items(i).GetAudioInputPin()->Retire();
  }
  ReleaseTimer();
  outputPin_.Retire();
  audioOutputPin_.Retire();
  channels_.Clear();
}

void TFCQueuedSwitch::ChannelAdded(TPMExtCollectionItem& added) {
  auto& item = static_cast<TFCQueuedInputItem&>(added);
  inputPins_.Add(item.inputPin_);
  audioInputPins_.Add(item.audioInputPin_);
}

void TFCQueuedSwitch::ChannelRemoving(TPMExtCollectionItem& removed) {
  auto& item = static_cast<TFCQueuedInputItem&>(removed);
  item.inputPin_.Retire();
  item.audioInputPin_.Retire();
  {
    std::lock_guard guard(queueMutex_);
    FlushLocked(item);
  }
  inputPins_.Remove(inputPins_.IndexOf(&item.inputPin_));
  audioInputPins_.Remove(audioInputPins_.IndexOf(&item.audioInputPin_));
}

std::int32_t TFCQueuedSwitch::GetActiveChannelIndex() const {
  std::lock_guard guard(queueMutex_);
  return activeIndex_;
}

void TFCQueuedSwitch::SetActiveChannelIndex(std::int32_t index) {
  {
    std::lock_guard guard(queueMutex_);
    activeIndex_ = std::clamp(index, 0, std::max(channels_.Count() - 1, 0));
    for (int i = 0; i < channels_.Count(); ++i) {
      TFCQueuedInputItem& item = channels_.Items(i);
      if (i == activeIndex_ || item.queuing_.GetEnabled()) continue;
      const int cleared = static_cast<int>(item.audioQueue_.Clear());
      audioCount_ -= cleared;
      dropped_ += cleared;
    }
  }
  clock_.Signal();
}

bool TFCQueuedSwitch::GetPaused() const {
  std::lock_guard guard(queueMutex_);
  return paused_;
}

void TFCQueuedSwitch::SetPaused(bool paused) {
  std::unique_lock order(sendOrder_);  // the pause goes out between frames
  bool videoOn, audioOn;
  {
    std::lock_guard guard(queueMutex_);
    if (paused == paused_) return;
    paused_ = paused;
    videoOn = videoStarted_;
    audioOn = audioStarted_;
  }
  const TPMOperation change =
      paused ? MakeOperation<TPMPauseOperation>() : TPMOperation(MakeOperation<TPMResumeOperation>());
  if (videoOn) outputPin_.Send(change);
  if (audioOn) audioOutputPin_.Send(change);
  order.unlock();
  if (!paused) {
    FinishEndedStreams();  // a stream that ended while paused
    clock_.Signal();
  }
}

void TFCQueuedSwitch::SetOnSwitch(TFCNotifyEvent handler) {
  std::lock_guard guard(queueMutex_);
  onSwitch_ = std::move(handler);
}

bool TFCQueuedSwitch::IsClockDriven() const {
  std::lock_guard guard(queueMutex_);
  return clockDriven_;
}

int TFCQueuedSwitch::FlushLocked(TFCQueuedInputItem& item) {
  const int video = static_cast<int>(item.videoQueue_.Clear());
  const int audio = static_cast<int>(item.audioQueue_.Clear());
  videoCount_ -= video;
  audioCount_ -= audio;
  dropped_ += video + audio;
  return video + audio;
}

void TFCQueuedSwitch::Fire(const TFCNotifyEvent& handler) {
  if (handler) handler(*this);
}

// ---- Operations arriving at the channels' pins ----

TFCQueuedInputItem* TFCQueuedSwitch::ItemOf(const TPMSinkPin& pin, TMedia& media) {
  for (int i = 0; i < channels_.Count(); ++i) {
    TFCQueuedInputItem& item = channels_.Items(i);
    if (&pin == &item.inputPin_) return media = TMedia::Video, &item;
    if (&pin == &item.audioInputPin_) return media = TMedia::Audio, &item;
  }
  return nullptr;
}

bool TFCQueuedSwitch::SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) {
  TMedia media;
  TFCQueuedInputItem* item = ItemOf(pin, media);
  return item && ChannelOperation(*item, media, operation);
}

bool TFCQueuedSwitch::ChannelOperation(TFCQueuedInputItem& item, TMedia media, const TPMOperation& operation) {
  if (operation->Is<TPMStartOperation>()) return ChannelStart(item, media, operation);
  if (operation->Is<TPMSuppliedBufferOperation>()) return ChannelBuffer(item, media, operation);
  if (operation->Is<TPMStopOperation>()) return ChannelStop(item, media);
  if (operation->Is<TPMPauseOperation>() || operation->Is<TPMResumeOperation>())
    return ChannelPause(item, media, operation);
  if (operation->Is<TPMPumpRequestOperation>()) {  // we answer pumps: we pace the stream
    std::lock_guard guard(queueMutex_);
    clockDriven_ = true;
    return true;
  }
  return false;
}

bool TFCQueuedSwitch::ChannelStart(TFCQueuedInputItem& item, TMedia media, const TPMOperation& operation) {
  std::lock_guard order(sendOrder_);  // no frame may overtake the start
  bool forward = false;
  {
    std::lock_guard guard(queueMutex_);
    bool& started = media == TMedia::Video ? videoStarted_ : audioStarted_;
    if (media == TMedia::Video) {
      item.videoRunning_ = item.videoActive_ = true;
      const auto* frames = operation->As<TPMStartFrameOperation>();
      if (!started && frames && frames->Rate() > 0)
        framePeriod_ = std::llround(kTimeUnitsPerSecond / frames->Rate());
    } else {
      item.audioRunning_ = item.audioActive_ = true;
    }
    item.pausedUpstream_ = false;
    forward = !started;
    started = true;
  }
  CreateTimerIfDue();
  if (!forward) return true;
  return media == TMedia::Video ? outputPin_.Send(operation) : audioOutputPin_.Send(operation);
}

bool TFCQueuedSwitch::ChannelBuffer(TFCQueuedInputItem& item, TMedia media, const TPMOperation& operation) {
  TFCNotifyEvent overMax;
  bool signal;
  {
    std::lock_guard guard(queueMutex_);
    TWCOperationList& queue = media == TMedia::Video ? item.videoQueue_ : item.audioQueue_;
    std::atomic<int>& count = media == TMedia::Video ? videoCount_ : audioCount_;
    if (!(media == TMedia::Video ? videoStarted_ : audioStarted_)) {
      ++dropped_;  // no stream to play it in: before a start, or after Stop
      return false;
    }
    if (item.queuing_.KeepsNewestOnly()) {
      const int replaced = static_cast<int>(queue.ReplaceAll(operation));
      count += 1 - replaced;
      dropped_ += replaced;
    } else {
      queue.Push(operation);
      ++count;
    }
    if (media == TMedia::Video && queue.Count() > static_cast<std::size_t>(std::max(item.GetThresholdMax(), 0)))
      overMax = item.onThresholdMax_;
    signal = !clockDriven_;
  }
  Fire(overMax);
  if (signal) clock_.Signal();
  return true;
}

bool TFCQueuedSwitch::ChannelStop(TFCQueuedInputItem& item, TMedia media) {
  {
    std::lock_guard guard(queueMutex_);
    (media == TMedia::Video ? item.videoRunning_ : item.audioRunning_) = false;
  }
  FinishEndedStreams();
  clock_.Signal();  // the active channel may have ended
  return true;
}

bool TFCQueuedSwitch::ChannelPause(TFCQueuedInputItem& item, TMedia media, const TPMOperation& operation) {
  std::lock_guard order(sendOrder_);
  const bool paused = operation->Is<TPMPauseOperation>();
  {
    std::lock_guard guard(queueMutex_);
    item.pausedUpstream_ = paused;
  }
  if (!paused) clock_.Signal();
  return media == TMedia::Video ? outputPin_.Send(operation) : audioOutputPin_.Send(operation);
}

// ---- Requests from downstream ----

bool TFCQueuedSwitch::SourceDispatch(TPMSourcePin& pin, const TPMOperation& operation) {
  const auto* pump = operation->As<TPMPumpRequestOperation>();
  if (!pump) return operation->Is<TPMQueryStreamOperation>() && (QueuedVideo() > 0 || QueuedAudio() > 0);
  const bool master = operation->Is<TPMMasterPumpOperation>();
  std::vector<TPMSinkPin*> ask;
  {
    std::lock_guard guard(queueMutex_);
    if (!master || pump->Sender() == this) {
      clockDriven_ = true;  // downstream pumps us, or our own pump came back
    } else if (!clockDriven_) {
      const bool video = &pin == &outputPin_;
      for (int i = 0; i < channels_.Count(); ++i) {
        TFCQueuedInputItem& item = channels_.Items(i);
        if ((video ? item.videoQueue_ : item.audioQueue_).Count() < kPumpBelow)
          ask.push_back(video ? static_cast<TPMSinkPin*>(&item.inputPin_) : &item.audioInputPin_);
      }
    }
  }
  CreateTimerIfDue();
  for (TPMSinkPin* input : ask) input->Request(MakeOperation<TPMPumpRequestOperation>(this));
  return true;
}

// ---- The clock ----

void TFCQueuedSwitch::CreateTimerIfDue() {
  std::int64_t period;
  {
    std::lock_guard guard(queueMutex_);
    if (!clockDriven_ || !videoStarted_ || framePeriod_ <= 0) return;
    period = framePeriod_;
  }
  std::lock_guard guard(timerMutex_);
  if (timer_) return;
  timer_ = std::make_unique<TWCClockGenItem>(static_cast<double>(period) / 10000.0, [this] {
    if (!GetPaused()) clock_.Signal();
  });
}

void TFCQueuedSwitch::ReleaseTimer() {
  std::unique_ptr<TWCClockGenItem> timer;
  {
    std::lock_guard guard(timerMutex_);
    timer.swap(timer_);
  }
  timer.reset();  // joins its thread, holding no lock its tick takes
}

void TFCQueuedSwitch::OnThreadClockEvent() {
  if (!GetPaused()) SubmitFrame();
  MasterPumpRound();
}

void TFCQueuedSwitch::MasterPumpRound() {
  std::vector<TPMSinkPin*> ask;
  {
    std::lock_guard guard(queueMutex_);
    if (!clockDriven_) return;
    for (int i = 0; i < channels_.Count(); ++i) {
      TFCQueuedInputItem& item = channels_.Items(i);
      if (item.videoQueue_.Count() >= static_cast<std::size_t>(std::max(item.GetThresholdMin(), 0))) continue;
      ask.push_back(&item.inputPin_);
      ask.push_back(&item.audioInputPin_);
    }
  }
  auto global = TPMGlobalLockObject::WriteLock();
  for (TPMSinkPin* input : ask) input->Request(MakeOperation<TPMMasterPumpOperation>(this));
}

// Takes one frame and one block of the active channel into `taken`; moves
// to the next channel when the active one has ended. False when there is
// nothing to do now.
bool TFCQueuedSwitch::TakeLocked(TTaken& taken) {
  if (paused_ || activeIndex_ < 0 || activeIndex_ >= channels_.Count()) return false;
  if (videoCount_ == 0 && audioCount_ == 0) return false;
  TFCQueuedInputItem& item = channels_.Items(activeIndex_);
  if (item.pausedUpstream_) return false;
  // A live channel sends its newest frame again on every tick while its
  // stream runs; once the stream has stopped, the frame goes a last time.
  auto take = [&](TWCOperationList& queue, std::atomic<int>& count, bool running) -> TPMOperation {
    if (item.queuing_.KeepsNewestOnly() && running) return queue.Peek();
    TPMOperation op = queue.Pop();
    if (op) --count;
    return op;
  };
  taken.video = take(item.videoQueue_, videoCount_, item.videoRunning_);
  taken.audio = take(item.audioQueue_, audioCount_, item.audioRunning_);
  if (taken.video || taken.audio) {
    if (taken.video && item.videoQueue_.Count() < static_cast<std::size_t>(std::max(item.GetThresholdMin(), 0)))
      taken.belowMin = item.onThresholdMin_;
    return true;
  }
  if (item.videoRunning_ || item.audioRunning_) return false;  // wait for more
  item.videoActive_ = item.audioActive_ = false;
  const int next = (activeIndex_ + 1) % channels_.Count();
  if (next == activeIndex_) return false;
  activeIndex_ = next;
  taken.switched = true;
  return true;
}

bool TFCQueuedSwitch::SubmitFrame() {
  std::lock_guard order(sendOrder_);
  // Each round either sends or moves on one channel, so a full turn of the
  // channels with nothing to send ends the submission.
  for (int round = 0; round <= channels_.Count(); ++round) {
    TTaken taken;
    TFCNotifyEvent onSwitch;
    {
      std::lock_guard guard(queueMutex_);
      if (!TakeLocked(taken)) return false;
      onSwitch = onSwitch_;
    }
    if (taken.switched) {
      Fire(onSwitch);
      continue;
    }
    Fire(taken.belowMin);
    if (taken.video) outputPin_.Send(taken.video);
    if (taken.audio) audioOutputPin_.Send(taken.audio);
    return true;
  }
  return false;
}

// Called when a channel's stream stops or the switch resumes: once no
// channel runs video any more, what is queued is played out and the output
// stopped; likewise for audio. While paused the end waits for the resume.
void TFCQueuedSwitch::FinishEndedStreams() {
  std::lock_guard order(sendOrder_);
  auto ended = [&](TMedia media) {
    std::lock_guard guard(queueMutex_);
    if (paused_ || !(media == TMedia::Video ? videoStarted_ : audioStarted_)) return false;
    for (int i = 0; i < channels_.Count(); ++i) {
      const TFCQueuedInputItem& item = channels_.Items(i);
      if (media == TMedia::Video ? item.videoRunning_ : item.audioRunning_) return false;
    }
    return true;
  };
  const bool videoEnded = ended(TMedia::Video), audioEnded = ended(TMedia::Audio);
  if (!videoEnded && !audioEnded) return;
  while (SubmitFrame()) {
  }
  for (TMedia media : {TMedia::Video, TMedia::Audio}) {
    if (!(media == TMedia::Video ? videoEnded : audioEnded)) continue;
    {
      std::lock_guard guard(queueMutex_);
      if (paused_) return;  // a handler paused us: the end waits for the resume
      (media == TMedia::Video ? videoStarted_ : audioStarted_) = false;
      // What a channel still running the other medium holds back cannot
      // follow the stop: it is dropped and counted.
      for (int i = 0; i < channels_.Count(); ++i) {
        TFCQueuedInputItem& item = channels_.Items(i);
        (media == TMedia::Video ? item.videoActive_ : item.audioActive_) = false;
        TWCOperationList& queue = media == TMedia::Video ? item.videoQueue_ : item.audioQueue_;
        const int left = static_cast<int>(queue.Clear());
        (media == TMedia::Video ? videoCount_ : audioCount_) -= left;
        dropped_ += left;
      }
    }
    if (media == TMedia::Video)
      outputPin_.SendStop();
    else
      audioOutputPin_.SendStop();
  }
  bool allEnded;
  {
    std::lock_guard guard(queueMutex_);
    allEnded = !videoStarted_ && !audioStarted_;
    if (allEnded) clockDriven_ = false;
  }
  if (allEnded) ReleaseTimer();
}

void TFCQueuedSwitch::Stop() {
  ReleaseTimer();
  std::lock_guard order(sendOrder_);
  {
    std::lock_guard guard(queueMutex_);
    for (int i = 0; i < channels_.Count(); ++i) {
      TFCQueuedInputItem& item = channels_.Items(i);
      FlushLocked(item);
      item.videoActive_ = item.audioActive_ = false;
    }
    videoStarted_ = audioStarted_ = false;
    clockDriven_ = false;
  }
  outputPin_.SendStop();
  audioOutputPin_.SendStop();
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcqueuedswitch, TFCQueuedSwitch)
