#include "components/Fcsnapshot.h"

namespace fc {

const TClassInfo& TFCSnapshot::StaticClassInfo() {
  using S = TFCSnapshot;
  static const TClassInfo info = TClassBuilder<S>("TFCSnapshot", &TFCCommonFilter::StaticClassInfo())
                                     .Pin("SnapshotPin", &S::GetSnapshotPin)
                                     .Property("PreserveFrameRate", &S::GetPreserveFrameRate,
                                               &S::SetPreserveFrameRate)
                                     .Build();
  return info;
}

TFCSnapshot::TFCSnapshot(TComponent* owner)
    : TFCCommonFilter(owner), snapshotPin_(this, "SnapshotPin", [this](TPMClockSinkPin&) { Snapshot(); }) {}

bool TFCSnapshot::GetPreserveFrameRate() const {
  auto section = ReadLock();
  return preserveFrameRate_;
}

void TFCSnapshot::SetPreserveFrameRate(bool preserve) {
  auto section = WriteLock();
  preserveFrameRate_ = preserve;
}

void TFCSnapshot::Reset() {
  auto section = WriteLock();
  hasFrame_ = false;
  running_ = true;
}

void TFCSnapshot::Stop() {
  auto section = WriteLock();
  running_ = false;
}

void TFCSnapshot::SetSizeRate(int& Width, int& Height, int) {
  outputFrame_ = TFCImageBuffer(Width, Height, vfRGB24);  // new frames are black
}

void TFCSnapshot::FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) {
  lastFrame_ = In;
  hasFrame_ = true;
  Out = preserveFrameRate_ ? std::make_shared<TFCImageBuffer>(outputFrame_) : nullptr;
}

bool TFCSnapshot::Snapshot() {
  IFCImageBuffer send;
  {
    auto section = WriteLock();
    if (!hasFrame_) return false;
    outputFrame_ = lastFrame_;
    if (!preserveFrameRate_) {
      send = std::make_shared<TFCImageBuffer>(outputFrame_);
    } else if (!running_) {
      send = std::make_shared<TFCImageBuffer>(outputFrame_);
      hasFrame_ = false;
    }
  }
  if (send) GetOutputPin()->SendFrame(std::move(send));
  return true;
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcsnapshot, TFCSnapshot)
