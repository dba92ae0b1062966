// resize_separable.h - the frame shared by the separable resize kernels
// (linear, cubic, Lanczos): per-call column and row tables, row buffers,
// each needed source row interpolated horizontally once, then the rows
// combined vertically for every destination row.
#pragma once

#include "primitives/geometry/resize_internal.h"

namespace fc::primitives::resize {

// A kernel supplies:
//   Sample, Value      its table entry and its interpolated sample type
//   kTaps              source rows combined per destination row
//   sample(position, origin, imageLength)   the entry of one position, with
//                      absolute pixel indices
//   toSampleOffsets(sample, channels)       column indices to sample offsets
//   sourceRows(sample, rows)                the kTaps source rows of a row entry
// and its generic loops, interpolateRow<Channels> and combineRows, which
// routines() hands out.
template <typename Kernel>
struct SeparableKernel {
  using Routines = SeparableRoutines<typename Kernel::Sample, typename Kernel::Value>;
  static Routines routines() {
    return {Kernel::template interpolateRow<1>, Kernel::template interpolateRow<3>,
            Kernel::combineRows};
  }
};

template <typename Kernel>
void buildAxis(int count, int length, double exactLength, int origin, int imageLength,
               typename Kernel::Sample* samples) {
  forEachPosition(count, 0.0, alignedStep(length, exactLength), [&](int i, double position) {
    samples[i] = Kernel::sample(position, origin, imageLength);
  });
}

template <typename Kernel>
void resizeRows(const Job& job, const typename SeparableKernel<Kernel>::Routines& routines,
                const typename Kernel::Sample* columns, const typename Kernel::Sample* rows,
                typename Kernel::Value* rowBuffers) {
  using Value = typename Kernel::Value;
  const auto interpolate = job.channels == 3 ? routines.rowC3 : routines.rowC1;
  const int rowSamples = sampleOffset(job.srcSize.width, job.channels);
  RowCache<Value, Kernel::kTaps> cache(rowBuffers, rowBufferLength(job));
  const auto fill = [&](int sourceRow, Value* buffer) {
    interpolate(job.srcRow(sourceRow), rowSamples, columns, job.dstWidth, buffer);
  };
  for (int r = 0; r < job.dstHeight; ++r) {
    int sourceRows[Kernel::kTaps];
    Kernel::sourceRows(rows[r], sourceRows);
    const Value* window[Kernel::kTaps];
    cache.gather(sourceRows, window, fill);
    routines.combine(window, rows[r], job.dstWidth * job.channels, job.dstRow(r));
  }
}

/// Runs a separable kernel over the job with the given loops;
/// ippStsMemAllocErr, with nothing written, when a table or row buffer
/// cannot be allocated.
template <typename Kernel>
IppStatus resizeSeparable(const Job& job, const typename SeparableKernel<Kernel>::Routines& routines) {
  WorkBuffer<typename Kernel::Sample> columns(job.dstWidth);
  WorkBuffer<typename Kernel::Sample> rows(job.dstHeight);
  WorkBuffer<typename Kernel::Value> rowBuffers(Kernel::kTaps * rowBufferLength(job));
  if (!allAllocated(columns, rows, rowBuffers)) return ippStsMemAllocErr;

  buildAxis<Kernel>(job.dstWidth, job.roi.width, job.exactWidth, job.roi.x, job.srcSize.width,
                    columns.get());
  buildAxis<Kernel>(job.dstHeight, job.roi.height, job.exactHeight, job.roi.y, job.srcSize.height,
                    rows.get());
  for (int c = 0; c < job.dstWidth; ++c) Kernel::toSampleOffsets(columns[c], job.channels);

  resizeRows<Kernel>(job, routines, columns.get(), rows.get(), rowBuffers.get());
  return ippStsNoErr;
}

}  // namespace fc::primitives::resize
