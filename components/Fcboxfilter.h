// Fcboxfilter.h - box average, minimum, maximum or median over a
// rectangular mask.
#pragma once

#include "contracts/video/matrix_filter.h"
#include "package/registered_unit.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// What a box filter takes of the window: its mean, smallest byte, largest
/// byte or median.
enum TFCBoxFilterMode { bfmAverage, bfmMin, bfmMax, bfmMedian };
FC_COMPONENTS_API const TEnumInfo& BoxFilterModeInfo();

/// Filters the region of three-byte frames with the box, minimum, maximum or
/// median primitive over `MaskSize` at `Anchor`. Publishes `FilterMode`
/// (starts bfmAverage). Primitive statuses are ignored: a mask the primitive
/// refuses (an even median mask) leaves the frame as it came.
class FC_COMPONENTS_API TFCBoxFilter : public TFCCommonROIMatrixFilterIntermidiate {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr TFCBoxFilterMode kFilterModeStart = bfmAverage;

  explicit TFCBoxFilter(TComponent* owner) : TFCCommonROIMatrixFilterIntermidiate(owner) {}

  TFCBoxFilterMode GetFilterMode() const;
  /// Stores under the write lock when the value changes.
  void SetFilterMode(TFCBoxFilterMode mode);

protected:
  void PerformFilter(const Ipp8u* Src, int SrcStep, Ipp8u* Dst, int DstStep, IppiSize RoiSize,
                     IppiSize MaskSize, IppiPoint Anchor, int Format) override;
  /// Minimum, maximum, median and the integer means depend on the window
  /// alone; the single-precision means of very large masks round their sums
  /// in an order that depends on the region, so they are made whole.
  bool FiltersByWindow(IppiSize MaskSize) const override;

private:
  TFCBoxFilterMode filterMode_ = kFilterModeStart;
};

}  // namespace fc

FC_DECLARE_REGISTERED_UNIT(Fcboxfilter)
