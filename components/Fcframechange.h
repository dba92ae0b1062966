// Fcframechange.h - combines each frame with the one before it.
#pragma once

#include "contracts/video/common_filter.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// How a frame is combined with its predecessor ("new" is the arriving
/// frame, "old" the one before): byte by byte, saturated to 0 ... 255.
enum TFCFrameChangeOperation {
  fcoAdd,          ///< new + old
  fcoSubtractOld,  ///< old - new
  fcoSubtractNew,  ///< new - old
  fcoMultiply,     ///< new x old
  fcoDivideOld,    ///< old / new
  fcoDivideNew,    ///< new / old
  fcoOr,
  fcoAnd,
  fcoXor,
  fcoAbsDiff,      ///< |new - old|: a static scene gives black frames
};
FC_COMPONENTS_API const TEnumInfo& FrameChangeOperationInfo();

/// Sends, for each frame, `FrameChangeOperation` (default fcoAbsDiff) of
/// the frame and the previous one. The first frame of a stream, or the first
/// after `Reset` or after the frame size or format changed, has no
/// predecessor and passes unchanged. Three-byte and grey frames are
/// combined as they are; other formats become three-byte frames.
class FC_COMPONENTS_API TFCFrameChange : public TFCCommonFilter {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr TFCFrameChangeOperation kOperationDefault = fcoAbsDiff;

  explicit TFCFrameChange(TComponent* owner) : TFCCommonFilter(owner) {}
  ~TFCFrameChange() override { RetirePins(); }

  TFCFrameChangeOperation GetFrameChangeOperation() const;
  void SetFrameChangeOperation(TFCFrameChangeOperation operation);
  /// Forgets the previous frame: the next frame starts afresh.
  void Reset() override;

protected:
  void FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) override;
  void SetVideoFormat(TFCImageBuffer& Buffer) override;

private:
  TFCFrameChangeOperation operation_ = kOperationDefault;
  bool hasPrevious_ = false;
  TFCImageBuffer previous_;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcframechange)
