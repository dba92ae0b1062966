// extreme_of_runs_t7.h - the minimum or maximum of a structuring element over
// an image, as runs of cells (see mask_runs.h), with AVX2 byte minima and
// maxima over 32 bytes at a time. Compiled inside the t7 target region.
//
// Each source row the windows need is reduced once per run length L into a
// ring slot: directly over L shifted loads for short runs; for long runs by
// doubling (pairs of pixels, pairs of pairs ...), the reduction over L being
// the pick of two overlapping power-of-two reductions. Destination rows are
// made two at a time: the runs both rows read (the same source row over the
// same columns) are folded once, then each row adds its own, in registers,
// and each row is stored once.
#pragma once

#include <immintrin.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

#include "dispatch/Fcimagedefs.h"
#include "primitives/filters/mask_runs.h"
#include "primitives/work_buffer.h"

namespace fc::primitives::morphology::avx2 {

constexpr std::ptrdiff_t kBlock = 32;

/// Runs up to this long are reduced by shifted loads, longer ones by doubling.
constexpr int kLongestDirectRun = 8;

/// Source rows ahead whose lines are asked for while a row is reduced. Each
/// source row is read from memory once, by its reduction, and the
/// processor's own prefetcher starts on a new row only after its first
/// misses.
constexpr int kRowsAhead = 4;

struct MinimumBytes {
  static __m256i pick(__m256i a, __m256i b) { return _mm256_min_epu8(a, b); }
  static Ipp8u pick(Ipp8u a, Ipp8u b) { return a < b ? a : b; }
};

struct MaximumBytes {
  static __m256i pick(__m256i a, __m256i b) { return _mm256_max_epu8(a, b); }
  static Ipp8u pick(Ipp8u a, Ipp8u b) { return a > b ? a : b; }
};

inline __m256i load(const Ipp8u* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
inline void store(Ipp8u* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

/// Rows whose bytes are folded together.
struct RowSet {
  const Ipp8u** rows;
  int count;
};

template <class Pick>
__m256i foldBlock(RowSet set, std::ptrdiff_t i) {
  __m256i v = load(set.rows[0] + i);
  for (int k = 1; k < set.count; ++k) v = Pick::pick(v, load(set.rows[k] + i));
  return v;
}

template <class Pick>
Ipp8u foldByte(RowSet set, std::ptrdiff_t i) {
  Ipp8u v = set.rows[0][i];
  for (int k = 1; k < set.count; ++k) v = Pick::pick(v, set.rows[k][i]);
  return v;
}

/// out[i] = the pick over the rows of set[i], for i < n. A row of 32 bytes
/// or more ends with a block that overlaps the one before, which writes the
/// same bytes again. The lines of `ahead`, when given, are asked for along
/// the way, as far as the row's pairs of blocks reach.
template <class Pick>
void foldRows(RowSet set, Ipp8u* out, std::ptrdiff_t n, const Ipp8u* ahead = nullptr) {
  if (set.count == 1) {
    std::memcpy(out, set.rows[0], static_cast<std::size_t>(n));
    return;
  }
  if (n < kBlock) {
    for (std::ptrdiff_t i = 0; i < n; ++i) out[i] = foldByte<Pick>(set, i);
    return;
  }
  std::ptrdiff_t i = 0;
  for (; i + 2 * kBlock <= n; i += 2 * kBlock) {
    if (ahead) _mm_prefetch(reinterpret_cast<const char*>(ahead + i), _MM_HINT_T0);
    __m256i v0 = load(set.rows[0] + i);
    __m256i v1 = load(set.rows[0] + i + kBlock);
    for (int k = 1; k < set.count; ++k) {
      v0 = Pick::pick(v0, load(set.rows[k] + i));
      v1 = Pick::pick(v1, load(set.rows[k] + i + kBlock));
    }
    store(out + i, v0);
    store(out + i + kBlock, v1);
  }
  if (i + kBlock <= n) {
    store(out + i, foldBlock<Pick>(set, i));
    i += kBlock;
  }
  if (i < n) store(out + n - kBlock, foldBlock<Pick>(set, n - kBlock));
}

/// Two destination rows: out0 = pick(shared, own0), out1 = pick(shared,
/// own1), where own0 and own1 hold at least one row each and shared at
/// least one; n is at least 32.
template <class Pick>
void foldTwoRows(RowSet shared, RowSet own0, RowSet own1, Ipp8u* out0, Ipp8u* out1, std::ptrdiff_t n) {
  auto block = [&](std::ptrdiff_t i) {
    const __m256i common = foldBlock<Pick>(shared, i);
    store(out0 + i, Pick::pick(common, foldBlock<Pick>(own0, i)));
    store(out1 + i, Pick::pick(common, foldBlock<Pick>(own1, i)));
  };
  std::ptrdiff_t i = 0;
  // Two blocks per step: independent chains of minima keep more loads in flight.
  for (; i + 2 * kBlock <= n; i += 2 * kBlock) {
    __m256i common0 = load(shared.rows[0] + i);
    __m256i common1 = load(shared.rows[0] + i + kBlock);
    for (int k = 1; k < shared.count; ++k) {
      common0 = Pick::pick(common0, load(shared.rows[k] + i));
      common1 = Pick::pick(common1, load(shared.rows[k] + i + kBlock));
    }
    store(out0 + i, Pick::pick(common0, foldBlock<Pick>(own0, i)));
    store(out0 + i + kBlock, Pick::pick(common1, foldBlock<Pick>(own0, i + kBlock)));
    store(out1 + i, Pick::pick(common0, foldBlock<Pick>(own1, i)));
    store(out1 + i + kBlock, Pick::pick(common1, foldBlock<Pick>(own1, i + kBlock)));
  }
  for (; i + kBlock <= n; i += kBlock) block(i);
  if (i < n) block(n - kBlock);
}

/// out[i] = pick(a[i], b[i]) for i < n, asking for the lines of `ahead`.
template <class Pick>
void pickPair(const Ipp8u* a, const Ipp8u* b, Ipp8u* out, std::ptrdiff_t n, const Ipp8u* ahead = nullptr) {
  const Ipp8u* rows[] = {a, b};
  foldRows<Pick>({rows, 2}, out, n, ahead);
}

/// Runs a mask's runs over an image of `channels` interleaved bytes per
/// pixel. The source must be readable over every window.
template <class Pick>
class RunFilter {
 public:
  RunFilter(const MaskRuns& runs, const Ipp8u* origin, int srcStep, int channels, IppiSize roi)
      : runs_(runs), origin_(origin), srcStep_(srcStep), channels_(channels), roi_(roi) {
    // The rows of one window and the next, for rows made two at a time.
    slots_ = runs.lastRow() - runs.firstRow() + 2;
    lastSourceRow_ = roi.height - 1 + runs.lastRow();
    if (runs.lengthCount() == 0) return;
    left_ = runs.lengths()[0].firstColumn;
    int right = 0;
    for (int i = 0; i < runs.lengthCount(); ++i) {
      left_ = std::min(left_, runs.lengths()[i].firstColumn);
      right = std::max(right, runs.lengths()[i].lastColumn);
    }
    slotRowBytes_ = roundUp(bytesOf(right - left_ + roi.width));
    scratchBytes_ = roundUp(bytesOf(levelPixels(2)));
  }

  /// Bytes of work space the filter needs (0 when every run is one cell).
  std::int64_t workBytes() const {
    if (runs_.lengthCount() == 0) return 0;
    return std::int64_t{slots_} * runs_.lengthCount() * slotRowBytes_ + 2 * scratchBytes_;
  }

  /// Row pointers the filter needs.
  std::int64_t rowPointers() const { return 3 * std::int64_t{runs_.runCount()} + kLongestDirectRun; }

  /// Run indices the filter needs.
  std::int64_t runIndices() const { return 3 * std::int64_t{runs_.runCount()}; }

  /// Filters the region into dst with `work` (workBytes() bytes), `rows`
  /// (rowPointers() pointers) and `index` (runIndices() indices).
  void run(Ipp8u* work, const Ipp8u** rows, int* index, Ipp8u* dst, int dstStep) {
    findPairRoles(index);
    ring_ = work;
    scratch_[0] = work + std::int64_t{slots_} * runs_.lengthCount() * slotRowBytes_;
    scratch_[1] = scratch_[0] + scratchBytes_;
    taps_ = rows + 3 * std::int64_t{runs_.runCount()};
    const int first = runs_.firstRow();
    const int last = runs_.lastRow();
    for (int row = first; row < last; ++row) reduceSourceRow(row);
    const std::ptrdiff_t rowBytes = bytesOf(roi_.width);
    int y = 0;
    if (rowBytes >= kBlock) {
      for (; y + 1 < roi_.height; y += 2) {
        reduceSourceRow(y + last);
        reduceSourceRow(y + 1 + last);
        filterTwoRows(rows, y, dst + static_cast<std::ptrdiff_t>(y) * dstStep, dstStep, rowBytes);
      }
    }
    for (; y < roi_.height; ++y) {
      reduceSourceRow(y + last);
      const int count = runs_.runCount();
      for (int k = 0; k < count; ++k) rows[k] = runRow(runs_.runs()[k], y);
      foldRows<Pick>({rows, count}, dst + static_cast<std::ptrdiff_t>(y) * dstStep, rowBytes);
    }
  }

 private:
  static std::ptrdiff_t roundUp(std::ptrdiff_t bytes) { return (bytes + kBlock - 1) / kBlock * kBlock; }
  std::ptrdiff_t bytesOf(std::ptrdiff_t pixels) const { return pixels * channels_; }

  /// The largest power of two below `length`: the level whose two
  /// overlapping values give the reduction over `length`.
  static int halfLevel(int length) {
    int level = 1;
    while (2 * level < length) level *= 2;
    return level;
  }

  /// Pixels, from column left_, of the reduction over `level` pixels that
  /// the long run lengths built on it need.
  std::ptrdiff_t levelPixels(int level) const {
    std::ptrdiff_t pixels = 0;
    for (int i = 0; i < runs_.lengthCount(); ++i) {
      const RunLength& l = runs_.lengths()[i];
      if (l.length > kLongestDirectRun && halfLevel(l.length) >= level)
        pixels = std::max<std::ptrdiff_t>(pixels, l.lastColumn - left_ + roi_.width + l.length - level);
    }
    return pixels;
  }

  const Ipp8u* sourceRow(int row) const { return origin_ + static_cast<std::ptrdiff_t>(row) * srcStep_; }

  Ipp8u* slot(int row, int lengthIndex) const {
    const int index = (row - runs_.firstRow()) % slots_;
    return ring_ + (std::int64_t{index} * runs_.lengthCount() + lengthIndex) * slotRowBytes_;
  }

  /// Reduces source row `row` over every run length into its ring slot; the
  /// first reduction asks for the row kRowsAhead below.
  void reduceSourceRow(int row) {
    const Ipp8u* source = sourceRow(row) + bytesOf(left_);
    const Ipp8u* ahead = row + kRowsAhead <= lastSourceRow_ ? source + std::ptrdiff_t{kRowsAhead} * srcStep_ : nullptr;
    const Ipp8u* level = source;
    int width = 1;
    int toggle = 0;
    for (int i = 0; i < runs_.lengthCount(); ++i) {
      const RunLength& l = runs_.lengths()[i];
      const std::ptrdiff_t bytes = bytesOf(l.lastColumn - left_ + roi_.width);
      if (l.length <= kLongestDirectRun) {
        for (int k = 0; k < l.length; ++k) taps_[k] = source + bytesOf(k);
        foldRows<Pick>({taps_, l.length}, slot(row, i), bytes, std::exchange(ahead, nullptr));
        continue;
      }
      const int half = halfLevel(l.length);
      for (; width < half; width *= 2, toggle ^= 1) {
        pickPair<Pick>(level, level + bytesOf(width), scratch_[toggle], bytesOf(levelPixels(2 * width)),
                       std::exchange(ahead, nullptr));
        level = scratch_[toggle];
      }
      pickPair<Pick>(level, level + bytesOf(l.length - half), slot(row, i), bytes, std::exchange(ahead, nullptr));
    }
  }

  /// Where run `r` of destination row y reads its values.
  const Ipp8u* runRow(const CellRun& r, int y) const {
    const int row = y + r.row;
    if (r.lengthIndex < 0) return sourceRow(row) + bytesOf(r.column);
    return slot(row, r.lengthIndex) + bytesOf(r.column - left_);
  }

  /// Whether run a of row y+1 reads what run b of row y reads: the same
  /// source row over the same columns.
  static bool readsAsNextRow(const CellRun& a, const CellRun& b) {
    return a.row + 1 == b.row && a.column == b.column && a.length == b.length;
  }

  /// Destination rows y and y + 1 (rowBytes of at least 32 each).
  void filterTwoRows(const Ipp8u** rows, int y, Ipp8u* out0, int dstStep, std::ptrdiff_t rowBytes) {
    const int count = runs_.runCount();
    const CellRun* runs = runs_.runs();
    Ipp8u* out1 = out0 + dstStep;
    if (shared_.count == 0 || own0_.count == 0 || own1_.count == 0) {
      // Nothing in common, or one row's runs all shared: fold each row whole.
      for (int k = 0; k < count; ++k) rows[k] = runRow(runs[k], y);
      foldRows<Pick>({rows, count}, out0, rowBytes);
      for (int k = 0; k < count; ++k) rows[k] = runRow(runs[k], y + 1);
      foldRows<Pick>({rows, count}, out1, rowBytes);
      return;
    }
    const RowSet shared = rowsOf(shared_, rows, y);
    const RowSet own0 = rowsOf(own0_, rows + count, y);
    const RowSet own1 = rowsOf(own1_, rows + 2 * count, y + 1);
    foldTwoRows<Pick>(shared, own0, own1, out0, out1, rowBytes);
  }

  /// Runs by index.
  struct RunList {
    int* index;
    int count;
  };

  /// Where the runs of `list` read for destination row y.
  RowSet rowsOf(const RunList& list, const Ipp8u** rows, int y) const {
    for (int i = 0; i < list.count; ++i) rows[i] = runRow(runs_.runs()[list.index[i]], y);
    return {rows, list.count};
  }

  /// Sorts the runs for rows made in pairs, the same for every pair: of row
  /// y's runs, those whose values row y + 1 also reads (shared_) and the
  /// others (own0_); of row y + 1's runs, those row y does not read (own1_).
  /// `index` has room for three indices per run.
  void findPairRoles(int* index) {
    const int count = runs_.runCount();
    const CellRun* runs = runs_.runs();
    shared_ = {index, 0};
    own0_ = {index + count, 0};
    own1_ = {index + 2 * count, 0};
    for (int k = 0; k < count; ++k) {
      bool alsoNext = false;
      for (int j = 0; j < count && !alsoNext; ++j) alsoNext = readsAsNextRow(runs[j], runs[k]);
      RunList& list = alsoNext ? shared_ : own0_;
      list.index[list.count++] = k;
    }
    for (int j = 0; j < count; ++j) {
      bool alsoThis = false;
      for (int k = 0; k < count && !alsoThis; ++k) alsoThis = readsAsNextRow(runs[j], runs[k]);
      if (!alsoThis) own1_.index[own1_.count++] = j;
    }
  }

  const MaskRuns& runs_;
  const Ipp8u* origin_;
  int srcStep_;
  int channels_;
  IppiSize roi_;
  int slots_ = 2;
  int lastSourceRow_ = 0;
  int left_ = 0;
  std::ptrdiff_t slotRowBytes_ = 0;
  std::ptrdiff_t scratchBytes_ = 0;
  Ipp8u* ring_ = nullptr;
  Ipp8u* scratch_[2] = {nullptr, nullptr};
  const Ipp8u** taps_ = nullptr;
  RunList shared_{nullptr, 0};
  RunList own0_{nullptr, 0};
  RunList own1_{nullptr, 0};
};

/// The minimum or maximum over the runs for every destination byte, the
/// window of the first pixel starting at `origin`. ippStsMemAllocErr, with
/// nothing written, when the work space cannot be allocated.
template <class Pick>
IppStatus extremeOfRuns(const MaskRuns& runs, const Ipp8u* origin, int srcStep, int channels, Ipp8u* dst,
                        int dstStep, IppiSize roi) {
  RunFilter<Pick> filter(runs, origin, srcStep, channels, roi);
  WorkBuffer<Ipp8u> work(std::max<std::int64_t>(filter.workBytes(), 1));
  WorkBuffer<const Ipp8u*> rows(filter.rowPointers());
  WorkBuffer<int> index(filter.runIndices());
  if (!work || !rows || !index) return ippStsMemAllocErr;
  filter.run(work.get(), rows.get(), index.get(), dst, dstStep);
  return ippStsNoErr;
}

}  // namespace fc::primitives::morphology::avx2
