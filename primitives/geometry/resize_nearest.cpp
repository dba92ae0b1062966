// resize_nearest.cpp - nearest-neighbour resize: each destination pixel
// copies the source pixel whose centre its own centre maps to.
#include <algorithm>

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

template <int Channels>
void copyNearest(const Job& job, const Ipp32s* columns, const Ipp32s* rows) {
  for (int r = 0; r < job.dstHeight; ++r) {
    const Ipp8u* source = job.srcRow(job.roi.y + rows[r]);
    Ipp8u* out = job.dstRow(r);
    for (int c = 0; c < job.dstWidth; ++c) {
      const Ipp8u* pixel = source + columns[c];
      for (int k = 0; k < Channels; ++k) out[c * Channels + k] = pixel[k];
    }
  }
}

}  // namespace

IppStatus resizeNearest(const Job& job) {
  WorkBuffer<Ipp32s> columns(job.dstWidth);
  WorkBuffer<Ipp32s> rows(job.dstHeight);
  if (!allAllocated(columns, rows)) return ippStsMemAllocErr;

  buildNearestIndices(job.dstWidth, job.roi.width, job.xFactor, columns.get());
  buildNearestIndices(job.dstHeight, job.roi.height, job.yFactor, rows.get());
  // Columns become sample offsets from the image's left edge.
  for (int c = 0; c < job.dstWidth; ++c) columns[c] = sampleOffset(job.roi.x + columns[c], job.channels);

  if (job.channels == 3)
    copyNearest<3>(job, columns.get(), rows.get());
  else
    copyNearest<1>(job, columns.get(), rows.get());
  return ippStsNoErr;
}

}  // namespace fc::primitives::resize
