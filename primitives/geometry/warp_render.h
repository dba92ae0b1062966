// warp_render.h - the loop every warp engine ends in: for each destination
// row of the spans, the back-mapped source positions of its pixels are
// computed into a row buffer, then the kernel interpolates them.
#pragma once

#include "primitives/geometry/quad_spans.h"
#include "primitives/geometry/warp_kernels.h"
#include "primitives/work_buffer.h"

namespace fc::primitives::warp {

/// Renders `spans`. positionsOf(y, firstColumn, count, xy) must fill `xy` with
/// the source (x, y) pairs of the pixels firstColumn .. firstColumn + count - 1
/// of row y. With `accept` given, only pixels whose position lies in it are
/// written. Counts the written pixels into *written. ippStsMemAllocErr, with
/// nothing written, when the row buffer is not available.
template <typename PositionsOf>
IppStatus renderSpans(const WarpSetup& setup, const SpanList& spans, PositionsOf&& positionsOf,
                      const PixelRect* accept, long long* written) {
  WorkBuffer<double> positions(2 * static_cast<std::int64_t>(spans.widest()));
  if (!positions) return ippStsMemAllocErr;
  *written = 0;
  for (int y = spans.firstRow(); y < spans.firstRow() + spans.rowCount(); ++y) {
    const int first = spans.first(y);
    if (first > spans.last(y)) continue;
    const int count = spans.last(y) - first + 1;
    positionsOf(y, first, count, positions.get());
    *written += setup.kernels->interpolateRow(setup.src, setup.kernel, positions.get(), count,
                                              setup.dst.pixel(first, y), accept);
  }
  return ippStsNoErr;
}

}  // namespace fc::primitives::warp
