// queued_inputs.h - the input channels of the playlist switch
// (TFCQueuedSwitch): a collection of items, each with a video and an audio
// input and a queue for each.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "contracts/pins/ext_collection.h"
#include "contracts/video/image_pins.h"
#include "platform/audio/audio_pins.h"
#include "platform/runtime/components_api.h"
#include "platform/signal/operation_list.h"

namespace fc {

class TFCQueuedSwitch;

/// An event with its sender (the switch, or the item's switch).
using TFCNotifyEvent = std::function<void(TComponent& sender)>;

/// How a channel's queue is played. `Enabled` (starts false): every frame
/// queued is played in turn. With `Enabled` off and `PreserveLastFrame`
/// (starts false) on, the channel is live: each new frame replaces what is
/// queued, and the newest frame is sent again on every tick until a newer
/// one arrives (and once more when the channel's stream has stopped). With
/// both off, queued frames are played in turn as well.
class FC_COMPONENTS_API TFCQueuedInputQueuing : public TOwnedPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr bool kEnabledStart = false;
  static constexpr bool kPreserveLastFrameStart = false;

  using TOwnedPersistent::TOwnedPersistent;

  bool GetEnabled() const { return enabled_.load(); }
  void SetEnabled(bool enabled) { enabled_.store(enabled); }
  bool GetPreserveLastFrame() const { return preserveLastFrame_.load(); }
  void SetPreserveLastFrame(bool preserve) { preserveLastFrame_.store(preserve); }
  /// True when the newest frame stays queued and is sent on every tick.
  bool KeepsNewestOnly() const { return !GetEnabled() && GetPreserveLastFrame(); }

private:
  std::atomic<bool> enabled_{kEnabledStart};
  std::atomic<bool> preserveLastFrame_{kPreserveLastFrameStart};
};

/// One input channel: "InputPin" and "AudioInputPin" (owned by the switch
/// and listed in its InputPins and AudioInputPins), the queues, the
/// thresholds and their events. Its queue state is the switch's, guarded by
/// the switch's queue lock.
class FC_COMPONENTS_API TFCQueuedInputItem : public TPMExtCollectionItem {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr std::int32_t kThresholdMaxDefault = 100;
  static constexpr std::int32_t kThresholdMinDefault = 30;

  explicit TFCQueuedInputItem(TCollection& collection);
  ~TFCQueuedInputItem() override;

  TFCPMImageSinkPin* GetInputPin() { return &inputPin_; }
  TTBAudioSinkPin* GetAudioInputPin() { return &audioInputPin_; }
  TFCQueuedInputQueuing* GetQueuing() { return &queuing_; }
  const TFCQueuedInputQueuing& Queuing() const { return queuing_; }

  /// True while this item is the switch's active channel; setting it true
  /// makes it so (false changes nothing).
  bool GetActive() const;
  void SetActive(bool active);
  std::int32_t GetThresholdMax() const { return thresholdMax_.load(); }
  void SetThresholdMax(std::int32_t frames) { thresholdMax_.store(frames); }
  std::int32_t GetThresholdMin() const { return thresholdMin_.load(); }
  void SetThresholdMin(std::int32_t frames) { thresholdMin_.store(frames); }

  /// Called on the producer's thread when a push leaves more than
  /// ThresholdMax frames queued (sender: the switch).
  void SetOnThresholdMax(TFCNotifyEvent handler);
  /// Called on the switch's clock thread when taking a frame leaves fewer
  /// than ThresholdMin frames queued (sender: the switch).
  void SetOnThresholdMin(TFCNotifyEvent handler);

  /// Empties both queues (the switch's counts follow).
  void Flush();
  /// Frames in the video queue.
  int GetVideoQueueDepth() const;
  /// How many of the item's streams (video, audio) are active: 0 to 2.
  int GetActiveStreamsCount() const;

  TFCQueuedSwitch& Switch() const;

private:
  friend class TFCQueuedSwitch;

  TFCPMImageSinkPin inputPin_;
  TTBAudioSinkPin audioInputPin_;
  TFCQueuedInputQueuing queuing_;
  std::atomic<std::int32_t> thresholdMax_{kThresholdMaxDefault};
  std::atomic<std::int32_t> thresholdMin_{kThresholdMinDefault};
  // Guarded by the switch's queue lock.
  TFCNotifyEvent onThresholdMax_, onThresholdMin_;
  TWCOperationList videoQueue_, audioQueue_;
  bool videoRunning_ = false, audioRunning_ = false;
  bool videoActive_ = false, audioActive_ = false;
  bool pausedUpstream_ = false;
};

/// The InputChannels collection of a TFCQueuedSwitch.
class FC_COMPONENTS_API TFCQueuedInputs : public TPMTypedExtCollection<TFCQueuedInputItem> {
  FC_DECLARE_CLASS_INFO()
public:
  using TPMTypedExtCollection::TPMTypedExtCollection;
};

}  // namespace fc
