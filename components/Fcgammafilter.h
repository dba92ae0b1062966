// Fcgammafilter.h - gamma correction of each frame.
#pragma once

#include "contracts/video/common_filter.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// The direction of the gamma correction.
enum TFCGammaType { gtForward, gtInverse };
FC_COMPONENTS_API const TEnumInfo& GammaTypeInfo();

/// Applies the forward or inverse gamma table to every byte of a frame.
/// Publishes `GammaType` (starts gtForward).
class FC_COMPONENTS_API TFCGammaFilter : public TFCCommonFilter {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr TFCGammaType kGammaTypeStart = gtForward;

  explicit TFCGammaFilter(TComponent* owner) : TFCCommonFilter(owner) {}

  TFCGammaType GetGammaType() const;
  /// Does nothing when the type is unchanged.
  void SetGammaType(TFCGammaType type);

protected:
  void FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) override;

private:
  TFCGammaType gammaType_ = kGammaTypeStart;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcgammafilter)
