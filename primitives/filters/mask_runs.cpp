// mask_runs.cpp - splitting a structuring element into runs of cells.
#include "primitives/filters/mask_runs.h"

#include <algorithm>
#include <cstdint>

namespace fc::primitives::morphology {
namespace {

/// At most one run per two columns (rounded up) in every row, and the cells
/// that splitting one run of each length up to kLongestSplitRun adds.
std::int64_t mostRuns(IppiSize size) {
  return (std::int64_t{size.width} + 1) / 2 * size.height + kLongestSplitRun * kLongestSplitRun;
}

}  // namespace

MaskRuns::MaskRuns(const Ipp8u* mask, IppiSize size) : runs_(mostRuns(size)), lengths_(size.width) {
  if (!*this) return;
  findRuns(mask, size);
  splitLoneRuns();
  indexLengths();
}

void MaskRuns::findRuns(const Ipp8u* mask, IppiSize size) {
  firstRow_ = size.height;
  for (int row = 0; row < size.height; ++row) {
    const Ipp8u* cells = mask ? mask + static_cast<std::ptrdiff_t>(row) * size.width : nullptr;
    for (int column = 0; column < size.width;) {
      if (cells && cells[column] == 0) {
        ++column;
        continue;
      }
      const int start = column;
      while (column < size.width && (!cells || cells[column] != 0)) ++column;
      addRun(row, start, column - start);
    }
  }
}

void MaskRuns::splitLoneRuns() {
  int kept = 0;
  for (int i = 0; i < lengthCount_; ++i) {
    const RunLength& l = lengths_[i];
    const int uses = static_cast<int>(std::count_if(runs_.get(), runs_.get() + runCount_,
                                                    [&](const CellRun& r) { return r.length == l.length; }));
    if (uses == 1 && l.length <= kLongestSplitRun)
      splitRunsOf(l.length);
    else
      lengths_[kept++] = l;
  }
  lengthCount_ = kept;
}

void MaskRuns::splitRunsOf(int length) {
  CellRun* run = std::find_if(runs_.get(), runs_.get() + runCount_,
                              [&](const CellRun& r) { return r.length == length; });
  const CellRun whole = *run;
  *run = {whole.row, whole.column, 1, -1};
  for (int k = 1; k < whole.length; ++k) runs_[runCount_++] = {whole.row, whole.column + k, 1, -1};
}

void MaskRuns::indexLengths() {
  std::sort(lengths_.get(), lengths_.get() + lengthCount_,
            [](const RunLength& a, const RunLength& b) { return a.length < b.length; });
  for (int k = 0; k < runCount_; ++k) {
    CellRun& run = runs_[k];
    for (int i = 0; i < lengthCount_; ++i)
      if (lengths_[i].length == run.length) run.lengthIndex = i;
  }
}

// Defined here so the buffers are released by code compiled for any processor.
MaskRuns::~MaskRuns() = default;

void MaskRuns::addRun(int row, int column, int length) {
  firstRow_ = std::min(firstRow_, row);
  lastRow_ = row;
  runs_[runCount_++] = {row, column, length, -1};
  if (length == 1) return;
  for (int i = 0; i < lengthCount_; ++i) {
    RunLength& known = lengths_[i];
    if (known.length != length) continue;
    known.firstColumn = std::min(known.firstColumn, column);
    known.lastColumn = std::max(known.lastColumn, column);
    return;
  }
  lengths_[lengthCount_++] = {length, column, column};
}

}  // namespace fc::primitives::morphology
