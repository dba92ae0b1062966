// Fcrotate.h - turns each frame about its centre.
#pragma once

#include "contracts/video/roi_filters.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// Turns the region of interest of each frame, three-byte or grey, by
/// `Angle` degrees about the centre of the input, keeping that centre in
/// the middle of a black frame of `OutputSize`. Publishes `Angle` (starts
/// 0) and `SmoothEdge` (starts false).
class FC_COMPONENTS_API TFCRotate : public TFCCommonROISizeFilter {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr double kAngleStart = 0;
  static constexpr bool kSmoothEdgeStart = false;

  explicit TFCRotate(TComponent* owner) : TFCCommonROISizeFilter(owner) {}

  double GetAngle() const;
  /// Does nothing when the angle is unchanged.
  void SetAngle(double angle);
  bool GetSmoothEdge() const;
  /// Does nothing when the flag is unchanged.
  void SetSmoothEdge(bool smoothEdge);

protected:
  void FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) override;
  /// Grey frames stay grey.
  void SetVideoFormat(TFCImageBuffer& Buffer) override;

private:
  double angle_ = kAngleStart;
  bool smoothEdge_ = kSmoothEdgeStart;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcrotate)
