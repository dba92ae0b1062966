// Fcshear.h - shears each frame by a displacement in pixels.
#pragma once

#include <cstdint>

#include "contracts/video/roi_filters.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// Shears the region of interest of each frame, three-byte or grey, into a
/// black frame of `OutputSize`. Publishes `XShear`, the horizontal
/// displacement in pixels across the full input height, `YShear`, the
/// vertical displacement across the full input width (both start 0), and
/// `SmoothEdge` (starts false).
class FC_COMPONENTS_API TFCShear : public TFCCommonROISizeFilter {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr bool kSmoothEdgeStart = false;
  static constexpr std::int32_t kXShearStart = 0, kYShearStart = 0;

  explicit TFCShear(TComponent* owner) : TFCCommonROISizeFilter(owner) {}

  bool GetSmoothEdge() const;
  std::int32_t GetXShear() const;
  std::int32_t GetYShear() const;
  /// The setters do nothing when the value is unchanged.
  void SetSmoothEdge(bool smoothEdge);
  void SetXShear(std::int32_t pixels);
  void SetYShear(std::int32_t pixels);

protected:
  void FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) override;
  /// Grey frames stay grey.
  void SetVideoFormat(TFCImageBuffer& Buffer) override;

private:
  bool smoothEdge_ = kSmoothEdgeStart;
  std::int32_t xShear_ = kXShearStart, yShear_ = kYShearStart;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcshear)
