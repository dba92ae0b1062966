// warp_render.h - the loop every warp engine ends in: for each destination
// row of the spans, the back-mapped source positions of its pixels are
// computed into a buffer, then the kernel interpolates them.
//
// The destination is visited in tiles of a band of rows by a run of columns:
// along a destination row the source position crosses a new source row every
// few pixels, so a whole row touches far more source lines than the first
// level cache holds, while the rows of one tile share theirs.
#pragma once

#include <algorithm>

#include "primitives/geometry/quad_spans.h"
#include "primitives/geometry/warp_kernels.h"
#include "primitives/work_buffer.h"

namespace fc::primitives::warp {

/// Columns and rows of one tile.
inline constexpr int kTileColumns = 128;
inline constexpr int kTileRows = 32;

/// A piece of one destination row: pixels first .. first + count - 1 of row
/// y, whose source positions go to xy as (x, y) pairs.
struct RowPiece {
  int y, first, count;
  double* xy;
};

/// Rows whose pieces of one tile are handed over together, so the positions
/// of several rows can be computed side by side.
inline constexpr int kPiecesAtOnce = 4;

/// positionsOf for renderSpans from rowPositions(y, firstColumn, count, xy),
/// which fills the (x, y) pairs of one piece.
template <typename RowPositions>
auto eachPiece(RowPositions rowPositions) {
  return [rowPositions](const RowPiece* pieces, int n) {
    for (int k = 0; k < n; ++k) rowPositions(pieces[k].y, pieces[k].first, pieces[k].count, pieces[k].xy);
  };
}

/// Renders `spans`. positionsOf(pieces, n) must fill the positions of the n
/// (1 to kPiecesAtOnce) pieces, each of another row. A row is asked for in
/// pieces, in column order, each starting where the one before ended (the
/// first at the span's first column). With `accept` given, only pixels whose
/// position lies in it are written. Counts the written pixels into *written.
/// ippStsMemAllocErr, with nothing written, when the position buffer is not
/// available.
template <typename PositionsOf>
IppStatus renderSpans(const WarpSetup& setup, const SpanList& spans, PositionsOf&& positionsOf,
                      const PixelRect* accept, long long* written) {
  const long long pieceLength = 2 * std::min<long long>(kTileColumns, spans.widest());
  WorkBuffer<double> positions(kPiecesAtOnce * pieceLength);
  if (!positions) return ippStsMemAllocErr;
  *written = 0;
  RowPiece pieces[kPiecesAtOnce];
  int held = 0;
  const auto render = [&] {
    positionsOf(static_cast<const RowPiece*>(pieces), held);
    for (int k = 0; k < held; ++k)
      *written += setup.kernels->interpolateRow(setup.src, setup.kernel, pieces[k].xy, pieces[k].count,
                                                setup.dst.pixel(pieces[k].first, pieces[k].y), accept);
    held = 0;
  };
  const int end = spans.firstRow() + spans.rowCount();
  for (int band = spans.firstRow(); band < end; band += kTileRows) {
    const int bandEnd = std::min(end, band + kTileRows);
    int left = spans.first(band), right = spans.last(band);
    for (int y = band + 1; y < bandEnd; ++y) {
      left = std::min(left, spans.first(y));
      right = std::max(right, spans.last(y));
    }
    for (int tile = left; tile <= right; tile += kTileColumns) {
      for (int y = band; y < bandEnd; ++y) {
        const int first = std::max(spans.first(y), tile);
        const int last = std::min(spans.last(y), tile + kTileColumns - 1);
        if (first > last) continue;
        pieces[held] = {y, first, last - first + 1, positions.get() + held * pieceLength};
        if (++held == kPiecesAtOnce) render();
      }
      if (held > 0) render();
    }
  }
  return ippStsNoErr;
}

}  // namespace fc::primitives::warp
