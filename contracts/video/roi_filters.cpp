#include "contracts/video/roi_filters.h"

#include <cstddef>
#include <cstring>

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

Ipp8u* TFCCommonROIFilter::PixelsAround(const TFCImageBuffer& In, TFCImageBuffer& Out, TFCImageRect Written) {
  Ipp8u* const out = Out.Overwrite();
  const Ipp8u* const in = In.Read();
  const std::size_t step = static_cast<std::size_t>(In.Step());
  const std::size_t bpp = static_cast<std::size_t>(In.BytesPerPixel());
  const std::size_t left = static_cast<std::size_t>(Written.x) * bpp;
  const std::size_t right = static_cast<std::size_t>(Written.x + Written.width) * bpp;
  for (int y = 0; y < In.Height(); ++y) {
    const std::size_t row = static_cast<std::size_t>(y) * step;
    if (y < Written.y || y >= Written.y + Written.height) {
      std::memcpy(out + row, in + row, step);
    } else {
      std::memcpy(out + row, in + row, left);
      std::memcpy(out + row + right, in + row + right, step - right);
    }
  }
  return out;
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
