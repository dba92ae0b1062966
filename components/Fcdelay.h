// Fcdelay.h - delays a stream by a number of frames.
#pragma once

#include "contracts/video/common_filter.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"
#include "platform/signal/operation_list.h"

namespace fc {

/// Holds frames in a first-in first-out list and sends each one once
/// `FrameDelay` newer frames have arrived: with a delay of 30, nothing comes
/// out for the first 30 frames and frame 1 leaves with frame 31. A delay of
/// 0 or below sends each frame as it arrives; lowering the delay while a
/// stream runs releases the surplus with the next frame.
///
/// At the end of a stream the frames still held are delivered, oldest first,
/// before the stop is passed on; a new stream starts with an empty list.
/// Frames keep their format and pixels. The frames held must fit the memory
/// budget: a stream, or a FrameDelay, that would hold more is refused with
/// EFCError naming FrameDelay.
class FC_COMPONENTS_API TFCDelay : public TFCCommonFilter {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr std::int32_t kFrameDelayDefault = 30;

  explicit TFCDelay(TComponent* owner) : TFCCommonFilter(owner) {}
  ~TFCDelay() override { RetirePins(); }

  std::int32_t GetFrameDelay() const;
  void SetFrameDelay(std::int32_t frames);
  /// Frames held now.
  std::size_t HeldFrames() const { return held_.Count(); }

  bool SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) override;
  void Reset() override { held_.Clear(); }

protected:
  void FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) override;
  /// Every format passes as it is.
  void SetVideoFormat(TFCImageBuffer&) override {}
  void SetSizeRate(int& Width, int& Height, int Rate) override;

private:
  void CheckHeldBytes(std::int32_t frames, IppiSize size) const;

  std::int32_t frameDelay_ = kFrameDelayDefault;
  TWCOperationList held_;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcdelay)
