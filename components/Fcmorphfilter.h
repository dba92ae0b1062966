// Fcmorphfilter.h - erosion or dilation with a structuring element
// (morph_shape.h).
#pragma once

#include "components/morph_shape.h"
#include "contracts/video/matrix_filter.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// Which extreme of the window a morphology filter takes.
enum TFCMorphType { mtErode, mtDilate };
FC_COMPONENTS_API const TEnumInfo& MorphTypeInfo();

/// Erodes (window minimum) or dilates (window maximum) the region of each
/// frame over the cells of `MorphShape`, three-byte or grey. Publishes
/// `MorphType` (starts mtErode) and the owned `MorphShape`. Primitive
/// statuses are ignored: a mask without a cell in the element leaves the
/// frame as it came.
class FC_COMPONENTS_API TFCMorphFilter : public TFCCommonROIMatrixFilterIntermidiate {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr TFCMorphType kMorphTypeStart = mtErode;

  explicit TFCMorphFilter(TComponent* owner);

  TFCMorphType GetMorphType() const;
  /// Stores under the write lock when the value changes.
  void SetMorphType(TFCMorphType type);
  TFCMorphShape* GetMorphShape() { return &shape_; }
  /// Copies `shape` into the owned shape.
  void SetMorphShape(const TFCMorphShape& shape) { shape_.Assign(shape); }

protected:
  friend class TFCMorphShape;
  /// Reshapes the structuring element to the mask size.
  void Changed() override;
  void PerformFilter(const Ipp8u* Src, int SrcStep, Ipp8u* Dst, int DstStep, IppiSize RoiSize,
                     IppiSize MaskSize, IppiPoint Anchor, int Format) override;
  /// Erosion and dilation depend on the window alone.
  bool FiltersByWindow(IppiSize) const override { return true; }
  /// Grey frames stay grey.
  void SetVideoFormat(TFCImageBuffer& Buffer) override;

private:
  TFCMorphType morphType_ = kMorphTypeStart;
  TFCMorphShape shape_;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcmorphfilter)
