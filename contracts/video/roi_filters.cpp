#include "contracts/video/roi_filters.h"

#include "platform/runtime/resource_budget.h"

namespace fc {

const TClassInfo& TFCCommonROIFilter::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TFCCommonROIFilter>("TFCCommonROIFilter", &TFCCommonFilter::StaticClassInfo())
          .Object("Region", &TFCCommonROIFilter::GetRegion)
          .Build();
  return info;
}

TFCCommonROIFilter::TFCCommonROIFilter(TComponent* owner)
    : TFCCommonFilter(owner), region_(this, "Region", *this) {}

Ipp8u* TFCCommonROIFilter::ReclaculateRoiAndOffsetI(IppiSize& Size, const TFCImageBuffer& Out, Ipp8u* OutPtr) {
  const TFCImageRect roi = region_.Clip(Size);
  Size = {roi.width, roi.height};
  if (!OutPtr) return OutPtr;
  return OutPtr + static_cast<std::ptrdiff_t>(roi.y) * Out.Step() +
         static_cast<std::ptrdiff_t>(roi.x) * Out.BytesPerPixel();
}

const TEnumInfo& InterpolationInfo() {
  static const TEnumInfo info("TFCInterpolation", {"ifNearest", "ifLinear", "ifCubic", "ifSuper", "ifLanczos"});
  return info;
}

const TClassInfo& TFCCommonROISizeFilter::StaticClassInfo() {
  using S = TFCCommonROISizeFilter;
  static const TClassInfo info =
      TClassBuilder<S>("TFCCommonROISizeFilter", &TFCCommonROIFilter::StaticClassInfo())
          .Object("OutputSize", &S::GetOutputSize)
          .Enum("Interpolation", &S::GetInterpolation, &S::SetInterpolation, InterpolationInfo(),
                kInterpolationDefault)
          .Build();
  return info;
}

TFCCommonROISizeFilter::TFCCommonROISizeFilter(TComponent* owner)
    : TFCCommonROIFilter(owner), outputSize_(this, "OutputSize", *this) {}

TFCInterpolation TFCCommonROISizeFilter::GetInterpolation() const {
  auto section = ReadLock();
  return interpolation_;
}

void TFCCommonROISizeFilter::SetInterpolation(TFCInterpolation value) {
  auto section = WriteLock();
  interpolation_ = value;
}

Ipp8u* TFCCommonROISizeFilter::ReclaculateRoiAndOffsetI(IppiSize& Size, const TFCImageBuffer&, Ipp8u* OutPtr) {
  const TFCImageRect roi = ClippedRegion(Size);
  Size = {roi.width, roi.height};
  return OutPtr;
}

void TFCCommonROISizeFilter::SetSizeRate(int& Width, int& Height, int) {
  const IppiSize size = outputSize_.Get();
  CheckFrameBudget(NamePath(), "OutputSize", size.width, size.height, 3);
  Width = size.width;
  Height = size.height;
}

}  // namespace fc
