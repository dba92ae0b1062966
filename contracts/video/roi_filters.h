// roi_filters.h - filters with a region of interest, and those that also
// produce an output of their own size with an interpolation.
#pragma once

#include "contracts/video/common_filter.h"
#include "contracts/video/sub_objects.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// A filter that works on a region of its input: publishes `Region`.
class FC_COMPONENTS_API TFCCommonROIFilter : public TFCCommonFilter {
  FC_DECLARE_CLASS_INFO()
public:
  explicit TFCCommonROIFilter(TComponent* owner);

  TFCRectRegion* GetRegion() { return &region_; }
  /// Copies the values of `region` into the owned region.
  void SetRegion(const TFCRectRegion& region) { region_.Assign(region); }

  /// Clips Size to the region (TFCRectRegion::Clip) and returns where the
  /// region starts in Out: OutPtr moved by the region's origin, with Out's
  /// step and bytes per pixel. A disabled region leaves both unchanged.
  virtual Ipp8u* ReclaculateRoiAndOffsetI(IppiSize& Size, const TFCImageBuffer& Out, Ipp8u* OutPtr);

protected:
  /// The region clipped to a frame of `frame` size.
  TFCImageRect ClippedRegion(IppiSize frame) const { return region_.Clip(frame); }
  /// The pixels of Out (a copy of In, not In itself) for a caller that
  /// writes every pixel of `Written`, a rectangle inside the frame: the
  /// pixels around it are In's, copied around the rectangle and not under
  /// it, and nothing is filled first.
  static Ipp8u* PixelsAround(const TFCImageBuffer& In, TFCImageBuffer& Out, TFCImageRect Written);

private:
  TFCRectRegion region_;
};

/// Interpolations of size filters, in the order of their ordinals; the
/// primitives' interpolation argument is 1 << ordinal.
enum TFCInterpolation { ifNearest, ifLinear, ifCubic, ifSuper, ifLanczos };
FC_COMPONENTS_API const TEnumInfo& InterpolationInfo();

/// A region filter whose output has a size of its own (`OutputSize`,
/// announced at the start) and an `Interpolation` (default ifLinear).
class FC_COMPONENTS_API TFCCommonROISizeFilter : public TFCCommonROIFilter {
  FC_DECLARE_CLASS_INFO()
public:
  static constexpr TFCInterpolation kInterpolationDefault = ifLinear;

  explicit TFCCommonROISizeFilter(TComponent* owner);

  TFCSize* GetOutputSize() { return &outputSize_; }
  void SetOutputSize(const TFCSize& size) { outputSize_.Assign(size); }
  TFCInterpolation GetInterpolation() const;
  void SetInterpolation(TFCInterpolation value);
  /// The interpolation ordinal n (0 nearest ... 4 Lanczos).
  int InterpolationOrdinal() const { return static_cast<int>(GetInterpolation()); }

  /// Clips Size to the region; the output of a size filter is the whole of
  /// Out, so OutPtr is returned unchanged.
  Ipp8u* ReclaculateRoiAndOffsetI(IppiSize& Size, const TFCImageBuffer& Out, Ipp8u* OutPtr) override;

  /// The source rectangle for the primitives: (X, Y, w, h) of the clipped
  /// region when it is enabled, (0, 0, w, h) otherwise.
  TFCImageRect SourceRoi(IppiSize input) const { return ClippedRegion(input); }

protected:
  /// Answers OutputSize; EFCError naming it when it lies outside the frame
  /// budget (resource_budget.h).
  void SetSizeRate(int& Width, int& Height, int Rate) override;

private:
  TFCSize outputSize_;
  TFCInterpolation interpolation_ = kInterpolationDefault;
};

}  // namespace fc
