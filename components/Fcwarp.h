// Fcwarp.h - maps each frame onto a quadrilateral: a bilinear or a
// perspective warp.
#pragma once

#include "components/geometry_call.h"
#include "components/offset.h"
#include "contracts/video/roi_filters.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// The transformation that carries the region onto the quadrilateral.
enum TFCWarpType { wtBilinear, wtPerspective };
FC_COMPONENTS_API const TEnumInfo& WarpTypeInfo();

/// Warps the region of interest of each frame, three-byte or grey, onto a
/// quadrilateral in a black frame of `OutputSize`. The quadrilateral is
/// the region centred in the output, each corner moved by its offset
/// (`LeftTopOffset`, `RightTopOffset`, `RightBottomOffset`,
/// `LeftBottomOffset`, each starts (0, 0)). Publishes `WarpType` (starts
/// wtBilinear), `InverseTransform` (starts false: the coefficients map the
/// region onto the quadrilateral; true: they are used as the map from the
/// output back into the input) and `SmoothEdge` (starts false).
class FC_COMPONENTS_API TFCWarp : public TFCCommonROISizeFilter {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr bool kSmoothEdgeStart = false;
  static constexpr bool kInverseTransformStart = false;
  static constexpr TFCWarpType kWarpTypeStart = wtBilinear;

  explicit TFCWarp(TComponent* owner);

  bool GetSmoothEdge() const;
  bool GetInverseTransform() const;
  TFCWarpType GetWarpType() const;
  /// The setters do nothing when the value is unchanged.
  void SetSmoothEdge(bool smoothEdge);
  void SetInverseTransform(bool inverse);
  void SetWarpType(TFCWarpType type);

  TFCOffset* GetLeftTopOffset() { return &leftTop_; }
  TFCOffset* GetRightTopOffset() { return &rightTop_; }
  TFCOffset* GetLeftBottomOffset() { return &leftBottom_; }
  TFCOffset* GetRightBottomOffset() { return &rightBottom_; }
  /// Copy the values of `offset` into the owned offset.
  void SetLeftTopOffset(const TFCOffset& offset) { leftTop_.Assign(offset); }
  void SetRightTopOffset(const TFCOffset& offset) { rightTop_.Assign(offset); }
  void SetLeftBottomOffset(const TFCOffset& offset) { leftBottom_.Assign(offset); }
  void SetRightBottomOffset(const TFCOffset& offset) { rightBottom_.Assign(offset); }

protected:
  void FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) override;
  /// Grey frames stay grey.
  void SetVideoFormat(TFCImageBuffer& Buffer) override;

private:
  /// The destination quadrilateral for the call's region: top left, top
  /// right, bottom right, bottom left.
  void PlaceQuad(const TGeometryCall& call, double quad[4][2]) const;

  bool smoothEdge_ = kSmoothEdgeStart;
  bool inverseTransform_ = kInverseTransformStart;
  TFCWarpType warpType_ = kWarpTypeStart;
  TFCOffset leftTop_, rightTop_, leftBottom_, rightBottom_;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcwarp)
