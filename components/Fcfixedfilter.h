// Fcfixedfilter.h - thirteen fixed-kernel filters in 3 x 3 or 5 x 5.
#pragma once

#include "contracts/video/roi_filters.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// The mask of the filter types that take one: 3 x 3 or 5 x 5.
enum TFCFixedMaskSize { fms3x3, fms5x5 };
FC_COMPONENTS_API const TEnumInfo& FixedMaskSizeInfo();

/// The fixed-kernel filters, each calling one primitive.
enum TFCFixedFilterType {
  ftPrewittHoriz,
  ftPrewittVert,
  ftSobelHoriz,
  ftSobelVert,
  ftRobertsDown,
  ftRobertsUp,
  ftLaplace,
  ftGauss,
  ftHipass,
  ftLowpass,
  ftSharpen,
  ftMedianCross,
  ftMedianColor
};
FC_COMPONENTS_API const TEnumInfo& FixedFilterTypeInfo();

/// Filters three-byte frames with the fixed-kernel primitive of `FilterType`
/// (starts ftPrewittHoriz); the types that take a mask use `MaskSize`
/// (starts fms3x3). Pixels outside the filtered area keep the input.
///
/// The filtered area is the region (the whole frame when it is disabled)
/// shrunk by a margin m, 5 for a 5 x 5 mask and 3 otherwise: it starts
/// (m + 1) / 2 pixels right of and below the region's corner and is m
/// pixels narrower and lower, so every pixel the kernel reads lies in the
/// frame. When the primitive fails (an area too small to filter) the input
/// frame itself goes out.
class FC_COMPONENTS_API TFCFixedFilter : public TFCCommonROIFilter {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr TFCFixedMaskSize kMaskSizeStart = fms3x3;
  static constexpr TFCFixedFilterType kFilterTypeStart = ftPrewittHoriz;

  explicit TFCFixedFilter(TComponent* owner) : TFCCommonROIFilter(owner) {}

  TFCFixedMaskSize GetMaskSize() const;
  /// Stores under the write lock when the value changes.
  void SetMaskSize(TFCFixedMaskSize size);
  TFCFixedFilterType GetFilterType() const;
  /// Stores under the write lock when the value changes.
  void SetFilterType(TFCFixedFilterType type);

  /// The area of a frame of `frame` size the primitive filters.
  TFCImageRect FilteredArea(IppiSize frame) const;

protected:
  void FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) override;

private:
  /// The margin the current type and mask size need: 5 or 3.
  int Margin() const;
  IppStatus CallPrimitive(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize size) const;

  TFCFixedMaskSize maskSize_ = kMaskSizeStart;
  TFCFixedFilterType filterType_ = kFilterTypeStart;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcfixedfilter)
