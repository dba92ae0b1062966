// Fccrop.h - cuts a rectangle out of each frame.
#pragma once

#include <optional>

#include "contracts/video/common_filter.h"
#include "contracts/video/sub_objects.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// Sends the part of `Region` (X, Y, Width, Height) that lies inside each
/// frame, three-byte or grey. A region whose origin lies on or beyond the
/// frame's right or bottom edge copies nothing: the frame passes unchanged.
/// The region's Enabled flag is not consulted.
class FC_COMPONENTS_API TFCCrop : public TFCCommonFilter {
  FC_DECLARE_CLASS_INFO()
public:
  explicit TFCCrop(TComponent* owner) : TFCCommonFilter(owner), region_(this, "Region", *this) {}

  TFCRectRegion* GetRegion() { return &region_; }
  /// Copies the values of `region` into the owned region.
  void SetRegion(const TFCRectRegion& region) { region_.Assign(region); }

protected:
  void FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) override;
  void SetVideoFormat(TFCImageBuffer& Buffer) override;
  /// Answers the size of the frames that will follow: the region's part
  /// inside the frame, or the frame itself when nothing is copied.
  void SetSizeRate(int& Width, int& Height, int Rate) override;

private:
  /// The part of the region inside a frame of `frame` size; none when the
  /// region starts on or beyond its right or bottom edge.
  std::optional<TFCImageRect> CropRect(IppiSize frame) const;

  TFCRectRegion region_;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fccrop)
