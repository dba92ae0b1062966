// resize_nearest.cpp - nearest-neighbour resize: each destination pixel
// copies the source pixel whose centre its own centre maps to.
#include <algorithm>
#include <cstring>

#include "primitives/geometry/resize_internal.h"

namespace fc::primitives::resize {
namespace {

/// Source index of each destination pixel along one axis, relative to the
/// rectangle. Pixel centres map to pixel centres; a position that lands on
/// the rectangle's far edge (one destination pixel from a source barely two
/// pixels wide per destination pixel) is held to the rectangle's last pixel.
void buildNearestIndices(int count, int length, double factor, Ipp32s* indices) {
  const double step = 1.0 / factor;
  forEachPosition(count, 0.5 * step, step, [&](int i, double position) {
    indices[i] = std::min(indexOf(std::min(position, static_cast<double>(length))), length - 1);
  });
}

void nearestRowC1(const Ipp8u* source, const NearestCopy& copy, Ipp8u* out, const void*) {
  for (int c = 0; c < copy.width; ++c) out[c] = source[copy.columns[c]];
}

/// Three samples per pixel; where a fourth may be read, each pixel moves as
/// one 4-byte word whose last byte the next pixel overwrites.
void nearestRowC3(const Ipp8u* source, const NearestCopy& copy, Ipp8u* out, const void*) {
  const Ipp32s* columns = copy.columns;
  int c = 0;
  for (; c + 1 < copy.width && columns[c] + 4 <= copy.rowSamples; ++c) std::memcpy(out + 3 * c, source + columns[c], 4);
  for (; c < copy.width; ++c) std::memcpy(out + 3 * c, source + columns[c], 3);
}

void copyC1(const NearestCopy& copy) { copyNearestRows(copy, nearestRowC1, nullptr); }
void copyC3(const NearestCopy& copy) { copyNearestRows(copy, nearestRowC3, nullptr); }

}  // namespace

void copyNearestRows(const NearestCopy& copy, NearestRowFn row, const void* plan) {
  const std::size_t rowBytes = static_cast<std::size_t>(copy.width) * copy.channels;
  // Rows closer than their length overlap; each is then made from the source.
  const bool mayRepeat = static_cast<std::size_t>(copy.dstStep) >= rowBytes;
  for (int r = 0; r < copy.height; ++r) {
    Ipp8u* out = copy.dst + static_cast<std::ptrdiff_t>(r) * copy.dstStep;
    if (mayRepeat && r > 0 && copy.rows[r] == copy.rows[r - 1])
      std::memcpy(out, out - copy.dstStep, rowBytes);
    else
      row(copy.src + static_cast<std::ptrdiff_t>(copy.rows[r]) * copy.srcStep, copy, out, plan);
  }
}

NearestRoutines genericNearestRoutines() { return {copyC1, copyC3}; }

IppStatus resizeNearest(const Job& job, const NearestRoutines& routines) {
  WorkBuffer<Ipp32s> columns(job.dstWidth);
  WorkBuffer<Ipp32s> rows(job.dstHeight);
  if (!allAllocated(columns, rows)) return ippStsMemAllocErr;

  buildNearestIndices(job.dstWidth, job.roi.width, job.xFactor, columns.get());
  buildNearestIndices(job.dstHeight, job.roi.height, job.yFactor, rows.get());
  // Columns become sample offsets from the image's left edge, rows absolute.
  for (int c = 0; c < job.dstWidth; ++c) columns[c] = sampleOffset(job.roi.x + columns[c], job.channels);
  for (int r = 0; r < job.dstHeight; ++r) rows[r] += job.roi.y;

  const NearestCopy copy{job.src,      job.srcStep,   sampleOffset(job.srcSize.width, job.channels),
                         job.channels, columns.get(), job.dstWidth,
                         rows.get(),   job.dstHeight, job.dst,
                         job.dstStep};
  (job.channels == 3 ? routines.c3 : routines.c1)(copy);
  return ippStsNoErr;
}

}  // namespace fc::primitives::resize
