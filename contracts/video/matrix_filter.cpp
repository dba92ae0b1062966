#include "contracts/video/matrix_filter.h"

#include <algorithm>
#include <cstring>

namespace fc {

const TClassInfo& TFCCommonROIMatrixFilterIntermidiate::StaticClassInfo() {
  using M = TFCCommonROIMatrixFilterIntermidiate;
  static const TClassInfo info =
      TClassBuilder<M>("TFCCommonROIMatrixFilterIntermidiate", &TFCCommonROIFilter::StaticClassInfo())
          .Object("MaskSize", &M::GetMaskSize)
          .Object("Anchor", &M::GetAnchor)
          .Build();
  return info;
}

TFCCommonROIMatrixFilterIntermidiate::TFCCommonROIMatrixFilterIntermidiate(TComponent* owner)
    : TFCCommonROIFilter(owner), maskSize_(this, "MaskSize", *this, [this] { MaskChanged(); }),
      anchor_(this, "Anchor", *this) {}

void TFCCommonROIMatrixFilterIntermidiate::MaskChanged() {
  changedPending_ = false;
  Changed();
}

void TFCCommonROIMatrixFilterIntermidiate::Reset() {
  if (changedPending_) MaskChanged();
  TFCCommonROIFilter::Reset();
}

void TFCCommonROIMatrixFilterIntermidiate::BuildBorderedSource(const TFCImageBuffer& In, TFCImageRect roi,
                                                               IppiSize mask, IppiPoint anchor) {
  const int bpp = In.BytesPerPixel();
  const int left = anchor.x, top = anchor.y;
  const int width = roi.width + mask.width - 1, height = roi.height + mask.height - 1;
  borderedStep_ = width * bpp;
  bordered_.resize(static_cast<std::size_t>(borderedStep_) * height);
  // Columns of the bordered row that lie inside the frame, copied in one run;
  // the columns beyond the frame repeat its first or last pixel.
  const int firstX = roi.x - left;
  const int insideFrom = std::max(0, -firstX);
  const int insideTo = std::min(width, In.Width() - firstX);
  for (int by = 0; by < height; ++by) {
    const int sy = std::clamp(roi.y - top + by, 0, In.Height() - 1);
    const Ipp8u* src = In.Read() + static_cast<std::ptrdiff_t>(sy) * In.Step();
    Ipp8u* dst = bordered_.data() + static_cast<std::ptrdiff_t>(by) * borderedStep_;
    std::memcpy(dst + insideFrom * bpp, src + (firstX + insideFrom) * bpp,
                static_cast<std::size_t>(insideTo - insideFrom) * bpp);
    for (int bx = 0; bx < insideFrom; ++bx) std::memcpy(dst + bx * bpp, src, bpp);
    const Ipp8u* lastPixel = src + (In.Width() - 1) * bpp;
    for (int bx = insideTo; bx < width; ++bx) std::memcpy(dst + bx * bpp, lastPixel, bpp);
  }
}

void TFCCommonROIMatrixFilterIntermidiate::FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) {
  if (changedPending_) MaskChanged();
  const TFCImageRect roi = ClippedRegion(In.SizeRecord());
  const IppiSize mask = maskSize_.Get();
  if (roi.width <= 0 || roi.height <= 0 || mask.width <= 0 || mask.height <= 0) return;
  const IppiPoint stored = anchor_.Get();
  const IppiPoint anchor{std::min(stored.x, mask.width - 1), std::min(stored.y, mask.height - 1)};
  BuildBorderedSource(In, roi, mask, anchor);
  const int bpp = In.BytesPerPixel();
  const Ipp8u* src = bordered_.data() + static_cast<std::ptrdiff_t>(anchor.y) * borderedStep_ + anchor.x * bpp;
  Ipp8u* dst = Out->Modify() + static_cast<std::ptrdiff_t>(roi.y) * Out->Step() + roi.x * bpp;
  PerformFilter(src, borderedStep_, dst, Out->Step(), {roi.width, roi.height}, mask, anchor,
                static_cast<int>(In.Format()));
}

}  // namespace fc
