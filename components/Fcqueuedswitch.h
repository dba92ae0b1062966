// Fcqueuedswitch.h - a playlist switch over a collection of input channels,
// each with its own video and audio queue.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "components/queued_inputs.h"
#include "contracts/pins/lock.h"
#include "contracts/pins/pin_list.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"
#include "platform/signal/clock_generator.h"
#include "platform/signal/clock_thread.h"

namespace fc {

/// Plays the queue of the active channel (`ActiveChannelIndex`, starts 0)
/// on "OutputPin" and "AudioOutputPin", and moves to the next channel
/// (wrapping round, calling `OnSwitch`) once the active one has ended: its
/// streams stopped and its queues empty.
///
/// Producers push frames and audio into the channels' queues on their own
/// threads; the switch's clock thread sends one video frame and one audio
/// block of the active channel per tick. It ticks once per frame pushed,
/// or, when the switch is the stream's pump master (downstream pumps it),
/// at the frame period of the first channel's start, and then asks upstream
/// for more with master pumps whenever a channel holds fewer than its
/// ThresholdMin frames.
///
/// The first start among the channels goes out; when the last channel's
/// video stops, everything still queued is played out (the channels in
/// playlist order) before the stop goes out, so no frame is lost. `Stop()`
/// ends the output at once: what is queued is dropped and counted
/// (`DroppedFrames`), and so is what arrives until a channel starts again. `Paused` (starts false) holds the output and sends
/// pause and resume downstream; a stream that ends while paused is played
/// out on resuming.
///
/// Threads: OnSwitch and OnThresholdMin run on the clock thread,
/// OnThresholdMax on the producer's; a handler may read and set the
/// switch's properties but not destroy it. The clock thread and the clock
/// generator stop before the pins go.
class FC_COMPONENTS_API TFCQueuedSwitch : public TComponent, public TPMObject, public IPMPinDispatcher {
  FC_DECLARE_CLASS_INFO()
public:
  explicit TFCQueuedSwitch(TComponent* owner);
  ~TFCQueuedSwitch() override;

  TFCQueuedInputs* GetInputChannels() { return &channels_; }
  TFCPMImageSourcePin* GetOutputPin() { return &outputPin_; }
  TTBAudioSourcePin* GetAudioOutputPin() { return &audioOutputPin_; }
  TPMPinList* GetInputPins() { return &inputPins_; }
  TPMPinList* GetAudioInputPins() { return &audioInputPins_; }

  std::int32_t GetActiveChannelIndex() const;
  /// Clamps to 0 ... count - 1 and empties the audio queue of every other
  /// channel that does not queue.
  void SetActiveChannelIndex(std::int32_t index);
  bool GetPaused() const;
  void SetPaused(bool paused);
  void SetOnSwitch(TFCNotifyEvent handler);

  /// Sends a stop on both outputs now; queued frames and blocks are dropped
  /// and counted. The pump-master mode ends.
  void Stop();

  /// Frames and blocks queued in all channels.
  int QueuedVideo() const { return videoCount_.load(); }
  int QueuedAudio() const { return audioCount_.load(); }
  /// Frames and blocks dropped: by Stop, and replaced in live channels.
  std::int64_t DroppedFrames() const { return dropped_.load(); }
  /// True while the switch paces the stream with its own clock.
  bool IsClockDriven() const;

  bool SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) override;
  bool SourceDispatch(TPMSourcePin& pin, const TPMOperation& operation) override;

private:
  friend class TFCQueuedInputItem;
  enum class TMedia { Video, Audio };
  struct TTaken;

  void ChannelAdded(TPMExtCollectionItem& item);
  void ChannelRemoving(TPMExtCollectionItem& item);
  TFCQueuedInputItem* ItemOf(const TPMSinkPin& pin, TMedia& media);

  bool ChannelOperation(TFCQueuedInputItem& item, TMedia media, const TPMOperation& operation);
  bool ChannelStart(TFCQueuedInputItem& item, TMedia media, const TPMOperation& operation);
  bool ChannelBuffer(TFCQueuedInputItem& item, TMedia media, const TPMOperation& operation);
  bool ChannelStop(TFCQueuedInputItem& item, TMedia media);
  bool ChannelPause(TFCQueuedInputItem& item, TMedia media, const TPMOperation& operation);

  // The clock thread's tick: one submission, then the master-pump round.
  void OnThreadClockEvent();
  // Sends one frame and one block of the active channel, moving to the next
  // channel while the active one has ended; false when nothing was sent.
  bool SubmitFrame();
  bool TakeLocked(TTaken& taken);
  void MasterPumpRound();
  // Plays out what is queued and stops the outputs whose streams all ended.
  void FinishEndedStreams();
  void CreateTimerIfDue();
  void ReleaseTimer();
  int FlushLocked(TFCQueuedInputItem& item);
  void Fire(const TFCNotifyEvent& handler);

  TPMTypedExtCollection<TFCQueuedInputItem>& Channels() { return channels_; }

  TFCPMImageSourcePin outputPin_;
  TTBAudioSourcePin audioOutputPin_;
  TPMPinList inputPins_, audioInputPins_;
  TFCQueuedInputs channels_;

  // The one lock of queues, counts and stream flags; never held while
  // sending or calling a handler.
  mutable std::mutex queueMutex_;
  std::atomic<int> videoCount_{0}, audioCount_{0};
  std::atomic<std::int64_t> dropped_{0};
  std::int32_t activeIndex_ = 0;
  bool paused_ = false;
  bool clockDriven_ = false;
  bool videoStarted_ = false, audioStarted_ = false;
  std::int64_t framePeriod_ = 0;  // 100-ns units, from the first start
  TFCNotifyEvent onSwitch_;

  // Held while taking from the queues and sending, so frames leave in queue
  // order and none after a stop. Recursive: a sink may call back in.
  std::recursive_mutex sendOrder_;
  TWCClockThread clock_;
  // The pump master's clock; its ticks signal clock_, so it is declared
  // after it and goes first.
  std::mutex timerMutex_;  // guards timer_
  std::unique_ptr<TWCClockGenItem> timer_;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcqueuedswitch)
