// Fcsnapshot.h - holds the latest frame and sends it on request.
#pragma once

#include "contracts/video/common_filter.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// Keeps the latest input frame and sends nothing of its own accord.
/// `Snapshot()` (or a tick on the clock pin "SnapshotPin") copies the kept
/// frame into the output frame and sends it.
///
/// With `PreserveFrameRate` (starts false) the output keeps the input's
/// pace instead: every input frame sends the last snapshot (black until the
/// first), and a snapshot only changes what is sent, except after the
/// stream stopped, when it is sent at once.
class FC_COMPONENTS_API TFCSnapshot : public TFCCommonFilter {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr bool kPreserveFrameRateStart = false;

  explicit TFCSnapshot(TComponent* owner);
  ~TFCSnapshot() override { RetirePins(); }

  TPMClockSinkPin* GetSnapshotPin() { return &snapshotPin_; }
  bool GetPreserveFrameRate() const;
  void SetPreserveFrameRate(bool preserve);

  /// Takes a snapshot of the latest frame; false when there is none yet.
  /// Call it from any thread.
  bool Snapshot();
  /// Forgets the kept frame; the component counts as running. A start does
  /// this.
  void Reset() override;
  void Stop() override;

protected:
  void FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) override;
  void SetSizeRate(int& Width, int& Height, int Rate) override;

private:
  TPMClockSinkPin snapshotPin_;
  bool preserveFrameRate_ = kPreserveFrameRateStart;
  TFCImageBuffer lastFrame_;
  TFCImageBuffer outputFrame_;
  bool hasFrame_ = false;
  bool running_ = false;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcsnapshot)
