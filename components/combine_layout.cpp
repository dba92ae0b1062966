#include "components/combine_layout.h"

#include <algorithm>
#include <cstdlib>

namespace fc {

const TEnumInfo& CombineSizeModeInfo() {
  static const TEnumInfo info("TFCCombineSizeMode", {"smIntersect", "smWrappingRect", "smVerticalIntersect",
                                                     "smHorizontalIntersect", "smCustom"});
  return info;
}

void SizeModeFlags(TFCCombineSizeMode mode, bool& custom, bool& wrapWidth, bool& wrapHeight) {
  custom = mode == smCustom;
  wrapWidth = mode == smCustom || mode == smWrappingRect || mode == smHorizontalIntersect;
  wrapHeight = mode == smCustom || mode == smWrappingRect || mode == smVerticalIntersect;
}

TFCCombineSizeMode SizeModeOfFlags(bool custom, bool wrapWidth, bool wrapHeight) {
  if (custom && wrapWidth && wrapHeight) return smCustom;
  if (wrapWidth && wrapHeight) return smWrappingRect;
  if (wrapWidth) return smHorizontalIntersect;
  if (wrapHeight) return smVerticalIntersect;
  return smIntersect;
}

namespace {

// A run of canvas positions on one axis and the images covering it; off1
// and off2 are the positions in image 1 and image 2 where the run starts.
struct TSegment {
  int start = 0, length = 0;
  bool image1 = false, image2 = false;
  int off1 = 0, off2 = 0;
};

// One axis of two images, image 1 at `offset` relative to image 2.
struct TAxis {
  int size1, size2, offset;

  int Position1() const { return std::max(offset, 0); }
  int Position2() const { return std::max(-offset, 0); }
  int Extent() const { return std::max(Position1() + size1, Position2() + size2); }
  bool Overlaps() const { return -size1 <= offset && offset <= size2; }
  int OverlapLength() const { return std::min(size2, offset + size1) - std::max(offset, 0); }

  TSegment Segment(int start, int length, bool image1, bool image2, int shift) const {
    return {start - shift, length, image1, image2, start - Position1(), start - Position2()};
  }

  // The leading margin, the overlap and the trailing margin; with
  // `margins` false only the overlap, at the start of the canvas.
  std::vector<TSegment> OverlapSegments(bool margins) const {
    const int lead = std::abs(offset), overlap = OverlapLength();
    const int shift = margins ? 0 : lead;
    std::vector<TSegment> segments;
    if (margins) segments.push_back(Segment(0, lead, offset < 0, offset > 0, shift));
    segments.push_back(Segment(lead, overlap, true, true, shift));
    if (margins) {
      const int end1 = Position1() + size1, end2 = Position2() + size2, trail = lead + overlap;
      segments.push_back(Segment(trail, std::max(end1, end2) - trail, end1 > end2, end2 > end1, shift));
    }
    return segments;
  }
};

int TotalLength(const std::vector<TSegment>& segments) {
  int total = 0;
  for (const TSegment& s : segments) total += s.length;
  return total;
}

// Cuts the segments to [0, limit): what lies beyond is dropped, from the
// end backwards.
void CutTo(std::vector<TSegment>& segments, int limit) {
  for (TSegment& s : segments) s.length = std::clamp(limit - s.start, 0, s.length);
}

TFCCombinePicToShow Show(const TSegment& h, const TSegment& v) {
  const bool one = h.image1 && v.image1, two = h.image2 && v.image2;
  if (one && two) return psImageBoth;
  if (one) return psImage1;
  if (two) return psImage2;
  return psBackground;
}

void AddGridPanes(const std::vector<TSegment>& columns, const std::vector<TSegment>& rows,
                  std::vector<TFCCombinePane>& panes) {
  for (const TSegment& v : rows)
    for (const TSegment& h : columns) {
      const TFCCombinePicToShow show = Show(h, v);
      if (h.length <= 0 || v.length <= 0 || show == psBackground) continue;
      panes.push_back({show, h.start, v.start, h.length, v.length, h.off1, v.off1, h.off2, v.off2});
    }
}

// An image alone on its canvas: its segment on one axis, cut to the output.
TSegment ImageSegment(int position, int size, int limit) {
  return {position, std::clamp(limit - position, 0, size), true, true, 0, 0};
}

void AddSeparatePanes(const TAxis& h, const TAxis& v, IppiSize output, std::vector<TFCCombinePane>& panes) {
  const TSegment h1 = ImageSegment(h.Position1(), h.size1, output.width);
  const TSegment v1 = ImageSegment(v.Position1(), v.size1, output.height);
  const TSegment h2 = ImageSegment(h.Position2(), h.size2, output.width);
  const TSegment v2 = ImageSegment(v.Position2(), v.size2, output.height);
  if (h1.length > 0 && v1.length > 0) panes.push_back({psImage1, h1.start, v1.start, h1.length, v1.length});
  if (h2.length > 0 && v2.length > 0) panes.push_back({psImage2, h2.start, v2.start, h2.length, v2.length});
}

}  // namespace

TFCCombineLayout LayoutCombinePanes(const TFCCombineLayoutInput& in) {
  const TAxis h{in.image1.width, in.image2.width, in.offsetX};
  const TAxis v{in.image1.height, in.image2.height, in.offsetY};
  TFCCombineLayout layout;
  layout.overlap = h.Overlaps() && v.Overlaps();
  std::vector<TSegment> columns, rows;
  if (layout.overlap) {
    layout.overlapSize = {h.OverlapLength(), v.OverlapLength()};
    columns = h.OverlapSegments(in.wrapWidth);
    rows = v.OverlapSegments(in.wrapHeight);
    layout.wrapping = {TotalLength(columns), TotalLength(rows)};
  } else {
    layout.wrapping = {h.Extent(), v.Extent()};
  }
  if (!in.setSize)
    layout.output = in.outputSize;
  else
    layout.output = in.custom ? in.customSize : layout.wrapping;
  if (layout.overlap) {
    CutTo(columns, layout.output.width);
    CutTo(rows, layout.output.height);
    AddGridPanes(columns, rows, layout.panes);
  } else {
    AddSeparatePanes(h, v, layout.output, layout.panes);
  }
  return layout;
}

}  // namespace fc
