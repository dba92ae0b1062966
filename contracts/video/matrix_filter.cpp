#include "contracts/video/matrix_filter.h"

#include <algorithm>

#include "contracts/video/edge_copy.h"
#include "contracts/video/strip_tiles.h"
#include "platform/runtime/resource_budget.h"

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
  const IppiSize stream = StreamSize();
  if (stream.width > 0 && stream.height > 0)
    CheckBufferBudget(NamePath(), "MaskSize", BorderedBytes(ClippedRegion(stream), maskSize_.Get(), 3));
  TFCCommonROIFilter::Reset();
}

std::uint64_t TFCCommonROIMatrixFilterIntermidiate::BorderedBytes(TFCImageRect roi, IppiSize mask, int bpp) {
  const auto side = [](int region, int maskSide) {
    return static_cast<std::uint64_t>(std::max(region, 0)) + static_cast<std::uint64_t>(std::max(maskSide - 1, 0));
  };
  return side(roi.width, mask.width) * side(roi.height, mask.height) * static_cast<std::uint64_t>(bpp);
}

void TFCCommonROIMatrixFilterIntermidiate::BuildBorderedSource(const TFCImageBuffer& In, TFCImageRect roi,
                                                               IppiSize mask, IppiPoint anchor) {
  const TFCImageRect area{roi.x - anchor.x, roi.y - anchor.y, roi.width + mask.width - 1,
                          roi.height + mask.height - 1};
  borderedStep_ = area.width * In.BytesPerPixel();
  bordered_.resize(static_cast<std::size_t>(borderedStep_) * area.height);
  CopyRepeatingEdges(In, area, bordered_.data(), borderedStep_);
}

void TFCCommonROIMatrixFilterIntermidiate::FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) {
  if (changedPending_) MaskChanged();
  const TFCImageRect roi = ClippedRegion(In.SizeRecord());
  const IppiSize mask = maskSize_.Get();
  const IppiPoint anchor = anchor_.Get();
  // What the primitives would refuse is refused here, before the bordered
  // source is sized from it.
  if (roi.width <= 0 || roi.height <= 0) return ReportFailure("Region", ippStsSizeErr);
  if (mask.width <= 0 || mask.height <= 0) return ReportFailure("MaskSize", ippStsMaskSizeErr);
  if (anchor.x >= mask.width || anchor.y >= mask.height) return ReportFailure("Anchor", ippStsAnchorErr);
  const int bpp = In.BytesPerPixel();
  if (!WithinBufferBudget(BorderedBytes(roi, mask, bpp))) return ReportFailure("MaskSize", ippStsMemAllocErr);
  // Pixels outside the region keep the input's; the region is written whole.
  Ipp8u* const pixels = PixelsAround(In, *Out, roi);
  if (FiltersByWindow(mask)) return FilterByPieces(In, roi, mask, anchor, pixels, Out->Step());
  FilterFromBorderedCopy(In, roi, mask, anchor, pixels, Out->Step());
}

void TFCCommonROIMatrixFilterIntermidiate::FilterFromBorderedCopy(const TFCImageBuffer& In, TFCImageRect roi,
                                                                  IppiSize mask, IppiPoint anchor, Ipp8u* pixels,
                                                                  int step) {
  const int bpp = In.BytesPerPixel();
  BuildBorderedSource(In, roi, mask, anchor);
  const Ipp8u* src = bordered_.data() + static_cast<std::ptrdiff_t>(anchor.y) * borderedStep_ + anchor.x * bpp;
  Ipp8u* dst = pixels + static_cast<std::ptrdiff_t>(roi.y) * step + roi.x * bpp;
  PerformFilter(src, borderedStep_, dst, step, {roi.width, roi.height}, mask, anchor,
                static_cast<int>(In.Format()));
}

void TFCCommonROIMatrixFilterIntermidiate::WidenSideStrips(TFCImageRect roi, int bpp, int& left, int& right) {
  // Vector kernels take rows of at least one register; narrower rows go to
  // per-pixel code that costs as much per row as a long run.
  constexpr int kNarrowestStripBytes = 32;
  const int narrowest = (kNarrowestStripBytes + bpp - 1) / bpp;
  // Each strip is widened only while the inner part stays at least as wide.
  const int leftStrip = left - roi.x;
  if (leftStrip > 0 && leftStrip < narrowest && right - left >= 2 * narrowest) left = roi.x + narrowest;
  const int rightStrip = roi.x + roi.width - right;
  if (rightStrip > 0 && rightStrip < narrowest && right - left >= 2 * narrowest) right = roi.x + roi.width - narrowest;
}

void TFCCommonROIMatrixFilterIntermidiate::FilterByPieces(const TFCImageBuffer& In, TFCImageRect roi,
                                                          IppiSize mask, IppiPoint anchor, Ipp8u* pixels,
                                                          int step) {
  // The pixels whose whole window lies inside the frame, within the region.
  int left = std::max(roi.x, anchor.x);
  const int top = std::max(roi.y, anchor.y);
  int right = std::min(roi.x + roi.width, In.Width() - (mask.width - 1 - anchor.x));
  const int bottom = std::min(roi.y + roi.height, In.Height() - (mask.height - 1 - anchor.y));
  if (left >= right || top >= bottom) return FilterFromBorderedCopy(In, roi, mask, anchor, pixels, step);
  const int bpp = In.BytesPerPixel();
  WidenSideStrips(roi, bpp, left, right);
  const auto offset = [bpp](int x, int y, int rowStep) {
    return static_cast<std::ptrdiff_t>(y) * rowStep + static_cast<std::ptrdiff_t>(x) * bpp;
  };
  PerformFilter(In.Read() + offset(left, top, In.Step()), In.Step(), pixels + offset(left, top, step), step,
                {right - left, bottom - top}, mask, anchor, static_cast<int>(In.Format()));
  const TFCImageRect rowStrips[] = {
      {roi.x, roi.y, roi.width, top - roi.y},                   // above
      {roi.x, bottom, roi.width, roi.y + roi.height - bottom},  // below
  };
  for (const TFCImageRect& strip : rowStrips) {
    // A failed call has failed the frame; the rest would only repeat it.
    if (FrameFailing()) return;
    if (strip.width > 0 && strip.height > 0) FilterFromBorderedCopy(In, strip, mask, anchor, pixels, step);
  }
  if (FrameFailing()) return;
  const TFCImageRect sideStrips[] = {
      {roi.x, top, left - roi.x, bottom - top},               // left
      {right, top, roi.x + roi.width - right, bottom - top},  // right
  };
  FilterSideStrips(In, sideStrips, mask, anchor, pixels, step);
}

void TFCCommonROIMatrixFilterIntermidiate::FilterSideStrips(const TFCImageBuffer& In,
                                                            std::span<const TFCImageRect> strips, IppiSize mask,
                                                            IppiPoint anchor, Ipp8u* pixels, int step) {
  const TFCStripTiles tiles(strips, mask, anchor, In.BytesPerPixel());
  if (tiles.Empty()) return;
  // Kept from frame to frame: a steady stream resizes them to the same size.
  tileSource_.resize(tiles.SourceBytes());
  tileOutput_.resize(tiles.OutputBytes());
  tiles.Gather(In, tileSource_.data());
  PerformFilter(tileSource_.data() + tiles.SourceOrigin(), tiles.SourceStep(), tileOutput_.data(),
                tiles.OutputStep(), tiles.OutputSize(), mask, anchor, static_cast<int>(In.Format()));
  if (!FrameFailing()) tiles.Scatter(tileOutput_.data(), pixels, step);
}

}  // namespace fc
