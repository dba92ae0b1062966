#include "contracts/video/edge_copy.h"

#include <algorithm>
#include <cstring>

namespace fc {

namespace {

template <int Bpp>
void RepeatPixel(const Ipp8u* pixel, Ipp8u* out, int count) {
  for (int x = 0; x < count; ++x) std::memcpy(out + static_cast<std::ptrdiff_t>(x) * Bpp, pixel, Bpp);
}

/// Writes `count` copies of the `bpp`-byte pixel at `pixel` from `out` on.
/// The usual pixel sizes get copies of a fixed size, which compile to moves.
void RepeatPixel(const Ipp8u* pixel, Ipp8u* out, int count, int bpp) {
  switch (bpp) {
    case 1:
      return RepeatPixel<1>(pixel, out, count);
    case 3:
      return RepeatPixel<3>(pixel, out, count);
    case 4:
      return RepeatPixel<4>(pixel, out, count);
    default:
      for (int x = 0; x < count; ++x)
        std::memcpy(out + static_cast<std::ptrdiff_t>(x) * bpp, pixel, static_cast<std::size_t>(bpp));
  }
}

}  // namespace

void CopyRepeatingEdges(const TFCImageBuffer& In, TFCImageRect area, Ipp8u* dst, std::ptrdiff_t dstStep) {
  const int bpp = In.BytesPerPixel();
  const Ipp8u* const frame = In.Read();
  const std::ptrdiff_t frameStep = In.Step();
  const int lastRow = In.Height() - 1;
  // The columns of the area that lie inside the frame are copied in one run;
  // those before it repeat the frame's first pixel, those after it its last.
  const int insideFrom = std::clamp(-area.x, 0, area.width);
  const int insideTo = std::clamp(In.Width() - area.x, insideFrom, area.width);
  const std::ptrdiff_t insideOffset = static_cast<std::ptrdiff_t>(insideFrom) * bpp;
  const std::size_t insideBytes = static_cast<std::size_t>(insideTo - insideFrom) * static_cast<std::size_t>(bpp);
  const std::ptrdiff_t lastPixel = static_cast<std::ptrdiff_t>(In.Width() - 1) * bpp;
  for (int row = 0; row < area.height; ++row) {
    const Ipp8u* src = frame + std::clamp(area.y + row, 0, lastRow) * frameStep;
    Ipp8u* out = dst + row * dstStep;
    // The offset is summed first: an area left of the frame has area.x < 0,
    // and src + area.x alone would point before the row.
    if (insideBytes > 0)
      CopyShortRun(out + insideOffset, src + (static_cast<std::ptrdiff_t>(area.x) * bpp + insideOffset), insideBytes);
    RepeatPixel(src, out, insideFrom, bpp);
    RepeatPixel(src + lastPixel, out + static_cast<std::ptrdiff_t>(insideTo) * bpp, area.width - insideTo, bpp);
  }
}

}  // namespace fc
