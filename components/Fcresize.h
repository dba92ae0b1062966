// Fcresize.h - scales the region of interest of each frame to the output
// size.
#pragma once

#include "contracts/video/roi_filters.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// Scales the region of interest of each frame, three-byte or grey, to
/// fill a frame of `OutputSize` with the chosen `Interpolation`. Publishes
/// nothing beyond its base.
class FC_COMPONENTS_API TFCResize : public TFCCommonROISizeFilter {
  FC_DECLARE_CLASS_INFO()
public:
  explicit TFCResize(TComponent* owner) : TFCCommonROISizeFilter(owner) {}

protected:
  void FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) override;
  /// Grey frames stay grey.
  void SetVideoFormat(TFCImageBuffer& Buffer) override;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcresize)
