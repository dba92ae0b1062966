#include "components/queued_inputs.h"

#include "components/Fcqueuedswitch.h"

namespace fc {

const TClassInfo& TFCQueuedInputQueuing::StaticClassInfo() {
  using Q = TFCQueuedInputQueuing;
  static const TClassInfo info = TClassBuilder<Q>("TFCQueuedInputQueuing", &TPersistent::StaticClassInfo())
                                     .Property("Enabled", &Q::GetEnabled, &Q::SetEnabled)
                                     .Property("PreserveLastFrame", &Q::GetPreserveLastFrame, &Q::SetPreserveLastFrame)
                                     .Build();
  return info;
}

const TClassInfo& TFCQueuedInputItem::StaticClassInfo() {
  using I = TFCQueuedInputItem;
  static const TClassInfo info =
      TClassBuilder<I>("TFCQueuedInputItem", &TPMExtCollectionItem::StaticClassInfo())
          .Property("Active", &I::GetActive, &I::SetActive)
          .Property("ThresholdMax", &I::GetThresholdMax, &I::SetThresholdMax, kThresholdMaxDefault)
          .Property("ThresholdMin", &I::GetThresholdMin, &I::SetThresholdMin, kThresholdMinDefault)
          .Object("Queuing", &I::GetQueuing)
          .Pin("InputPin", &I::GetInputPin)
          .Pin("AudioInputPin", &I::GetAudioInputPin)
          .Build();
  return info;
}

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCQueuedInputs, TPMExtCollection)

namespace {

TFCQueuedSwitch& SwitchOf(const TPMExtCollectionItem& item) {
  return dynamic_cast<TFCQueuedSwitch&>(*item.OwnerComponent());
}

}  // namespace

TFCQueuedInputItem::TFCQueuedInputItem(TCollection& collection)
    : TPMExtCollectionItem(collection), inputPin_(OwnerComponent(), SwitchOf(*this), "InputPin"),
      audioInputPin_(OwnerComponent(), SwitchOf(*this), "AudioInputPin"), queuing_(this, "Queuing") {}

TFCQueuedInputItem::~TFCQueuedInputItem() {
  inputPin_.Retire();
  audioInputPin_.Retire();
}

TFCQueuedSwitch& TFCQueuedInputItem::Switch() const { return SwitchOf(*this); }

bool TFCQueuedInputItem::GetActive() const { return Switch().GetActiveChannelIndex() == Index(); }

void TFCQueuedInputItem::SetActive(bool active) {
  if (active) Switch().SetActiveChannelIndex(Index());
}

void TFCQueuedInputItem::SetOnThresholdMax(TFCNotifyEvent handler) {
  std::lock_guard guard(Switch().queueMutex_);
  onThresholdMax_ = std::move(handler);
}

void TFCQueuedInputItem::SetOnThresholdMin(TFCNotifyEvent handler) {
  std::lock_guard guard(Switch().queueMutex_);
  onThresholdMin_ = std::move(handler);
}

void TFCQueuedInputItem::Flush() {
  TFCQueuedSwitch& owner = Switch();
  std::lock_guard guard(owner.queueMutex_);
  owner.FlushLocked(*this);
}

int TFCQueuedInputItem::GetVideoQueueDepth() const { return static_cast<int>(videoQueue_.Count()); }

int TFCQueuedInputItem::GetActiveStreamsCount() const {
  std::lock_guard guard(Switch().queueMutex_);
  return (videoActive_ ? 1 : 0) + (audioActive_ ? 1 : 0);
}

}  // namespace fc
