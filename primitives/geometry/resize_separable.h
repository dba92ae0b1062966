// resize_separable.h - the frame shared by the separable resize kernels
// (linear, cubic, Lanczos): per-call column and row tables, row buffers,
// each needed source row interpolated horizontally once, then the rows
// combined vertically for every destination row.
#pragma once

#include "primitives/geometry/resize_internal.h"

namespace fc::primitives::resize {

// A kernel supplies:
//   Sample             a table entry: source taps and weights of one position
//   Value              the type of horizontally interpolated samples
//   kTaps              source rows combined per destination row
//   sample(position, origin, imageLength)   the entry of one position, with
//                      absolute pixel indices
//   toSampleOffsets(sample, channels)       column indices to sample offsets
//   sourceRows(sample, rows)                the kTaps source rows of a row entry
//   interpolateRow<Channels>(source, columns, width, out)
//   combineRows(rows, sample, length, out)

template <typename Kernel>
void buildAxis(int count, int length, double exactLength, int origin, int imageLength,
               typename Kernel::Sample* samples) {
  forEachPosition(count, 0.0, alignedStep(length, exactLength), [&](int i, double position) {
    samples[i] = Kernel::sample(position, origin, imageLength);
  });
}

template <typename Kernel, int Channels>
void resizeRows(const Job& job, const typename Kernel::Sample* columns,
                const typename Kernel::Sample* rows, typename Kernel::Value* rowBuffers) {
  using Value = typename Kernel::Value;
  RowCache<Value, Kernel::kTaps> cache(rowBuffers, rowBufferLength(job));
  const auto fill = [&](int sourceRow, Value* buffer) {
    Kernel::template interpolateRow<Channels>(job.srcRow(sourceRow), columns, job.dstWidth, buffer);
  };
  for (int r = 0; r < job.dstHeight; ++r) {
    int sourceRows[Kernel::kTaps];
    Kernel::sourceRows(rows[r], sourceRows);
    const Value* window[Kernel::kTaps];
    cache.gather(sourceRows, window, fill);
    Kernel::combineRows(window, rows[r], job.dstWidth * Channels, job.dstRow(r));
  }
}

/// Runs a separable kernel over the job; ippStsMemAllocErr, with nothing
/// written, when a table or row buffer cannot be allocated.
template <typename Kernel>
IppStatus resizeSeparable(const Job& job) {
  WorkBuffer<typename Kernel::Sample> columns(job.dstWidth);
  WorkBuffer<typename Kernel::Sample> rows(job.dstHeight);
  WorkBuffer<typename Kernel::Value> rowBuffers(Kernel::kTaps * rowBufferLength(job));
  if (!allAllocated(columns, rows, rowBuffers)) return ippStsMemAllocErr;

  buildAxis<Kernel>(job.dstWidth, job.roi.width, job.exactWidth, job.roi.x, job.srcSize.width,
                    columns.get());
  buildAxis<Kernel>(job.dstHeight, job.roi.height, job.exactHeight, job.roi.y, job.srcSize.height,
                    rows.get());
  for (int c = 0; c < job.dstWidth; ++c) Kernel::toSampleOffsets(columns[c], job.channels);

  if (job.channels == 3)
    resizeRows<Kernel, 3>(job, columns.get(), rows.get(), rowBuffers.get());
  else
    resizeRows<Kernel, 1>(job, columns.get(), rows.get(), rowBuffers.get());
  return ippStsNoErr;
}

}  // namespace fc::primitives::resize
