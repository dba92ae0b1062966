// Fcmirror.h - flips frames about their horizontal or vertical axis.
#pragma once

#include "contracts/video/common_filter.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// The axis a frame is mirrored about: the horizontal axis (upside down),
/// the vertical axis (left to right), or both (turned half round).
enum TFCMirrorType { mtHorizontal, mtVertical, mtBoth };
FC_COMPONENTS_API const TEnumInfo& MirrorTypeInfo();

/// Mirrors each frame, three-byte or grey. Publishes `MirrorType` (starts
/// mtHorizontal).
class FC_COMPONENTS_API TFCMirror : public TFCCommonFilter {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr TFCMirrorType kMirrorTypeStart = mtHorizontal;

  explicit TFCMirror(TComponent* owner) : TFCCommonFilter(owner) {}

  TFCMirrorType GetMirrorType() const;
  /// Does nothing when the type is unchanged.
  void SetMirrorType(TFCMirrorType type);

protected:
  void FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) override;
  /// Grey frames stay grey.
  void SetVideoFormat(TFCImageBuffer& Buffer) override;

private:
  TFCMirrorType mirrorType_ = kMirrorTypeStart;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcmirror)
