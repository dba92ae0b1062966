// matrix_filter.h - the base of neighbourhood filters (box, rank, morphology,
// Wiener): a region filter with a mask size and an anchor.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "contracts/video/roi_filters.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// A region filter that computes each output pixel from the mask around it.
/// Publishes `MaskSize` (starts 3 x 3) and `Anchor` (starts (1, 1)).
///
/// For every frame it builds a source with the border the mask needs: the
/// region plus anchor.x columns on the left, maskWidth - 1 - anchor.x on the
/// right, anchor.y rows above and maskHeight - 1 - anchor.y below, taken from
/// the frame where it has them and repeating its edge pixels beyond it. So
/// the whole region is filtered, up to the frame's edges, and
/// `PerformFilter` gets a source it may read around every pixel. The
/// destination is the region in Out; outside the region Out keeps the input.
/// A filter whose pixels depend on their window alone (`FiltersByWindow`)
/// is called on the part of the region whose windows lie inside the frame
/// straight from the frame, and only on the strips along the frame's edges
/// from bordered copies, so no copy of the whole frame is made; the tall
/// strips left and right of that part go through one call together, laid
/// out as short, wide rows (strip_tiles.h).
///
/// What the primitives would refuse fails the frame (failure_policy.h): an
/// empty region (ippStsSizeErr), a mask with a zero side (ippStsMaskSizeErr),
/// an anchor outside the mask (ippStsAnchorErr) and a bordered source above
/// the buffer budget (ippStsMemAllocErr) are reported under the property's
/// name and the frame is dropped. At the start of a stream a bordered
/// source above the budget raises EFCError naming MaskSize.
class FC_COMPONENTS_API TFCCommonROIMatrixFilterIntermidiate : public TFCCommonROIFilter {
  FC_DECLARE_CLASS_INFO()
public:
  explicit TFCCommonROIMatrixFilterIntermidiate(TComponent* owner);

  TFCMaskSize* GetMaskSize() { return &maskSize_; }
  void SetMaskSize(const TFCMaskSize& size) { maskSize_.Assign(size); }
  TFCMaskAnchor* GetAnchor() { return &anchor_; }
  void SetAnchor(const TFCMaskAnchor& anchor) { anchor_.Assign(anchor); }

  /// Also makes sure `Changed` has run before the first frame.
  void Reset() override;

protected:
  /// Filters RoiSize pixels from Src to Dst with a mask of MaskSize placed at
  /// Anchor; Format is the frame's TFCVideoFormat (0, or 2 for grey frames
  /// kept by SetVideoFormat). Runs under the write lock. It writes every
  /// pixel of the region, or reports a failure (the frame is then not
  /// sent): the region is not copied from the input first.
  virtual void PerformFilter(const Ipp8u* Src, int SrcStep, Ipp8u* Dst, int DstStep, IppiSize RoiSize,
                             IppiSize MaskSize, IppiPoint Anchor, int Format) = 0;
  /// Called when the mask size changes, and before the first frame.
  virtual void Changed() {}
  /// Whether, with a mask of MaskSize, each destination pixel depends on the
  /// source pixels under its mask alone, so the region may be filtered in
  /// pieces with the same result. False unless a filter says so (a result
  /// over the whole region, or state sized by the region, rules it out).
  /// Runs under the write lock.
  virtual bool FiltersByWindow(IppiSize /*MaskSize*/) const { return false; }

  void FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) override;

private:
  void MaskChanged();
  /// The bytes of the bordered source for a region and mask.
  static std::uint64_t BorderedBytes(TFCImageRect roi, IppiSize mask, int bpp);
  void BuildBorderedSource(const TFCImageBuffer& In, TFCImageRect roi, IppiSize mask, IppiPoint anchor);
  /// Filters `roi` of In into the same rectangle of Out, whose pixels are
  /// `pixels` with rows `step` bytes apart, from a bordered copy of it.
  void FilterFromBorderedCopy(const TFCImageBuffer& In, TFCImageRect roi, IppiSize mask, IppiPoint anchor,
                              Ipp8u* pixels, int step);
  /// Moves the inner part's `left` and `right` edges inwards so that the
  /// strips beside it, where there are any, are wide enough for the
  /// primitives' vector paths.
  static void WidenSideStrips(TFCImageRect roi, int bpp, int& left, int& right);
  /// Filters `roi` by pieces: its inner part from In itself, the strips along
  /// the frame's edges from bordered copies, into Out's `pixels`.
  void FilterByPieces(const TFCImageBuffer& In, TFCImageRect roi, IppiSize mask, IppiPoint anchor,
                      Ipp8u* pixels, int step);
  /// Filters the strips left and right of the inner part (the same rows,
  /// either may be empty) in one call, laid out as tiles (strip_tiles.h).
  void FilterSideStrips(const TFCImageBuffer& In, std::span<const TFCImageRect> strips, IppiSize mask,
                        IppiPoint anchor, Ipp8u* pixels, int step);

  TFCMaskSize maskSize_;
  TFCMaskAnchor anchor_;
  bool changedPending_ = true;
  std::vector<Ipp8u> bordered_;
  int borderedStep_ = 0;
  std::vector<Ipp8u> tileSource_;
  std::vector<Ipp8u> tileOutput_;
};

/// The same base under its shorter name.
using TFCCommonROIMatrixFilter = TFCCommonROIMatrixFilterIntermidiate;

}  // namespace fc
