// resize_super.cpp - supersampling reduction: each destination pixel is the
// area-weighted mean of the source pixels its footprint covers.
#include <algorithm>
#include <climits>

#include "primitives/geometry/resize_internal.h"

namespace fc::primitives::resize {
namespace {

/// The source pixels one destination pixel covers along an axis: a cut pixel
/// at `first` when lead > 0, then `whole` whole pixels, then a cut pixel
/// when trail > 0. Indices are relative to the rectangle.
struct Cover {
  Ipp32s first;
  Ipp32s whole;
  double lead;
  double trail;
  double scale;  // what the weighted sum is multiplied by to give the mean
  Ipp32s end() const { return first + (lead > 0.0) + whole + (trail > 0.0); }
};

/// The footprint [index * span, (index + 1) * span) of a destination pixel,
/// cut at the rectangle's end. Within the rectangle the mean is the sum times
/// the factor; a footprint that reaches past the rectangle (a single
/// destination pixel from a source less than twice the span) is averaged
/// over the part that exists instead.
Cover coverOf(int index, double span, double factor, int length) {
  const double start = index * span;
  double end = (index + 1) * span;
  Cover cover{};
  cover.scale = factor;
  if (end - length > kIndexTolerance) {
    end = length;
    cover.scale = 1.0 / (end - start);
  }
  cover.first = indexOf(start);
  if (start - cover.first > kIndexTolerance) cover.lead = cover.first + 1 - start;
  const int wholeStart = cover.first + (cover.lead > 0.0);
  const int wholeEnd = indexOf(end);
  if (end - wholeEnd > kIndexTolerance) cover.trail = end - wholeEnd;
  cover.whole = std::max(0, wholeEnd - wholeStart);
  return cover;
}

void buildCovers(int count, double factor, int length, Cover* covers) {
  const double span = 1.0 / factor;
  for (int i = 0; i < count; ++i) covers[i] = coverOf(i, span, factor, length);
}

/// True when every footprint spans whole rows only and the integer column
/// sums cannot overflow, so rows can be summed exactly in integers.
bool rowsSumInIntegers(const Cover* rows, int count) {
  for (int r = 0; r < count; ++r)
    if (rows[r].lead > 0.0 || rows[r].trail > 0.0 || rows[r].whole > INT_MAX / 255) return false;
  return true;
}

/// Calls visit(index, weight) for every pixel of a cover.
template <typename Visit>
void forEachCovered(const Cover& cover, Visit visit) {
  int i = cover.first;
  if (cover.lead > 0.0) visit(i++, cover.lead);
  for (int n = 0; n < cover.whole; ++n) visit(i++, 1.0);
  if (cover.trail > 0.0) visit(i, cover.trail);
}

/// Sums the rows of one footprint, column by column, into acc.
template <typename Acc>
void accumulateRows(const Job& job, const Cover& rows, int samples, Acc* acc) {
  std::fill(acc, acc + samples, Acc{});
  forEachCovered(rows, [&](int row, double weight) {
    const Ipp8u* source = job.srcRow(job.roi.y + row) + sampleOffset(job.roi.x, job.channels);
    if constexpr (std::is_integral_v<Acc>) {
      for (int x = 0; x < samples; ++x) acc[x] += source[x];
    } else {
      const Acc w = static_cast<Acc>(weight);
      for (int x = 0; x < samples; ++x) acc[x] = acc[x] + w * static_cast<Acc>(source[x]);
    }
  });
}

template <int Channels, typename Acc>
void reduceColumns(const Acc* acc, const Cover* columns, int width, double rowScale, Ipp8u* out) {
  for (int c = 0; c < width; ++c) {
    double sums[Channels] = {};
    forEachCovered(columns[c], [&](int column, double weight) {
      for (int k = 0; k < Channels; ++k) sums[k] += weight * acc[column * Channels + k];
    });
    for (int k = 0; k < Channels; ++k) {
      const double mean = sums[k] * columns[c].scale * rowScale + 0.5;
      out[c * Channels + k] = static_cast<Ipp8u>(std::clamp(static_cast<int>(mean), 0, 255));
    }
  }
}

template <int Channels, typename Acc>
void reduce(const Job& job, const Cover* columns, const Cover* rows, int samples, Acc* acc) {
  for (int r = 0; r < job.dstHeight; ++r) {
    accumulateRows(job, rows[r], samples, acc);
    reduceColumns<Channels>(acc, columns, job.dstWidth, rows[r].scale, job.dstRow(r));
  }
}

template <typename Acc>
IppStatus reduceWith(const Job& job, const Cover* columns, const Cover* rows) {
  const int samples = columns[job.dstWidth - 1].end() * job.channels;
  WorkBuffer<Acc> acc(samples);
  if (!acc) return ippStsMemAllocErr;
  if (job.channels == 3)
    reduce<3>(job, columns, rows, samples, acc.get());
  else
    reduce<1>(job, columns, rows, samples, acc.get());
  return ippStsNoErr;
}

}  // namespace

IppStatus resizeSuper(const Job& job) {
  WorkBuffer<Cover> columns(job.dstWidth);
  WorkBuffer<Cover> rows(job.dstHeight);
  if (!allAllocated(columns, rows)) return ippStsMemAllocErr;
  buildCovers(job.dstWidth, job.xFactor, job.roi.width, columns.get());
  buildCovers(job.dstHeight, job.yFactor, job.roi.height, rows.get());
  if (rowsSumInIntegers(rows.get(), job.dstHeight))
    return reduceWith<Ipp32s>(job, columns.get(), rows.get());
  return reduceWith<Ipp32f>(job, columns.get(), rows.get());
}

}  // namespace fc::primitives::resize
