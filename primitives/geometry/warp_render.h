// warp_render.h - the loop every warp engine ends in: the back-mapped source
// positions of the destination pixels are computed into a buffer, then the
// kernel interpolates them.
//
// Rows are taken four at a time and in pieces of a few hundred pixels, each
// row's pieces counted from its own first pixel: the four rows' running
// positions can be added up side by side, the positions stay in the cache
// between being written and read, and every piece but a row's last is a
// whole number of vector steps.
#pragma once

#include <algorithm>

#include "primitives/geometry/quad_spans.h"
#include "primitives/geometry/warp_kernels.h"
#include "primitives/work_buffer.h"

namespace fc::primitives::warp {

/// Rows whose pieces are handed over together.
inline constexpr int kPiecesAtOnce = 4;

/// Pixels of a row piece at most. One-channel nearest pixels cost so little
/// that their four pieces' positions must fit the first-level cache (16
/// KiB); the other kernels gain more from longer pieces.
inline int pieceLength(const WarpSetup& setup) {
  return setup.kernel == Kernel::nearest && setup.src.channels == 1 ? 256 : 512;
}

/// A piece of one destination row: pixels first .. first + count - 1 of row
/// y, whose source positions go to xy as (x, y) pairs.
struct RowPiece {
  int y, first, count;
  double* xy;
};

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
  const int length = pieceLength(setup);
  const long long pieceValues = 2 * std::min<long long>(length, spans.widest());
  WorkBuffer<double> positions(kPiecesAtOnce * pieceValues);
  if (!positions) return ippStsMemAllocErr;
  *written = 0;
  const int end = spans.firstRow() + spans.rowCount();
  for (int band = spans.firstRow(); band < end; band += kPiecesAtOnce) {
    const int bandEnd = std::min(end, band + kPiecesAtOnce);
    for (long long offset = 0;; offset += length) {
      RowPiece pieces[kPiecesAtOnce];
      int held = 0;
      for (int y = band; y < bandEnd; ++y) {
        const long long first = spans.first(y) + offset;
        const long long last = std::min<long long>(spans.last(y), first + length - 1);
        if (first > last) continue;
        pieces[held] = {y, static_cast<int>(first), static_cast<int>(last - first + 1),
                        positions.get() + held * pieceValues};
        ++held;
      }
      if (held == 0) break;
      positionsOf(static_cast<const RowPiece*>(pieces), held);
      for (int k = 0; k < held; ++k)
        *written += setup.kernels->interpolateRow(setup.src, setup.kernel, pieces[k].xy, pieces[k].count,
                                                  setup.dst.pixel(pieces[k].first, pieces[k].y), accept);
    }
  }
  return ippStsNoErr;
}

}  // namespace fc::primitives::warp
