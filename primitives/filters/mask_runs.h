// mask_runs.h - a structuring element seen as horizontal runs of cells.
//
// The minimum (maximum) over a mask is the minimum over its runs, and the
// minimum over a run of L cells is one value of the source row reduced over
// L pixels. Each source row is reduced once per run length and the result
// serves every destination row whose window holds that row, so the cost per
// pixel follows the number of runs rather than the number of cells. A short
// run whose length no other run has is kept as single cells instead: its
// reduction would serve one destination row only, and reading its cells
// directly costs less than storing and reloading it.
#pragma once

#include "dispatch/Fcimagedefs.h"
#include "primitives/work_buffer.h"

namespace fc::primitives::morphology {

/// `length` consecutive cells of mask row `row`, from column `column`.
/// lengthIndex is the index of the run's length among the lengths above one
/// (MaskRuns::lengths); -1 for single cells, which are read from the source.
struct CellRun {
  int row;
  int column;
  int length;
  int lengthIndex;
};

/// One run length above one and the columns its runs start at.
struct RunLength {
  int length;
  int firstColumn;
  int lastColumn;
};

/// Lone runs up to this long are kept as single cells.
inline constexpr int kLongestSplitRun = 8;

class MaskRuns {
 public:
  /// The runs of the non-zero cells of `mask` (size.width x size.height
  /// bytes, row after row), or of the whole rectangle when `mask` is null.
  /// The mask must hold a non-zero cell. Test the object: false when the
  /// work space could not be allocated.
  MaskRuns(const Ipp8u* mask, IppiSize size);
  ~MaskRuns();
  MaskRuns(const MaskRuns&) = delete;
  MaskRuns& operator=(const MaskRuns&) = delete;

  explicit operator bool() const { return runs_ && lengths_; }

  const CellRun* runs() const { return runs_.get(); }
  int runCount() const { return runCount_; }
  /// Distinct lengths above one, shortest first.
  const RunLength* lengths() const { return lengths_.get(); }
  int lengthCount() const { return lengthCount_; }
  /// The first and last mask rows holding a run.
  int firstRow() const { return firstRow_; }
  int lastRow() const { return lastRow_; }

 private:
  void findRuns(const Ipp8u* mask, IppiSize size);
  void addRun(int row, int column, int length);
  void splitLoneRuns();
  void splitRunsOf(int length);
  void indexLengths();

  WorkBuffer<CellRun> runs_;
  WorkBuffer<RunLength> lengths_;
  int runCount_ = 0;
  int lengthCount_ = 0;
  int firstRow_ = 0;
  int lastRow_ = 0;
};

}  // namespace fc::primitives::morphology
