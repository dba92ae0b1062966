// histogram_even.cpp - histograms over evenly spaced levels: the levels are
// filled from a lower and an upper level, then the bytes of the region are
// counted into the bins between consecutive levels.
#include <array>
#include <cstdint>
#include <vector>

#include "dispatch/primitives.h"
#include "primitives/color/point_checks.h"

namespace fc::primitives {
namespace {

using ByteCounts = std::array<std::int64_t, 256>;

/// Fills nLevels levels from lower to upper in equal integer steps; the
/// remainder of the division is spread one unit at a time over the first
/// steps, so the last level is exactly upper. Computed in 64 bits: the range
/// of two 32-bit levels does not fit in 32 bits.
void fillEvenLevels(Ipp32s* levels, int nLevels, Ipp32s lower, Ipp32s upper) {
  const std::int64_t steps = nLevels - 1;
  const std::int64_t range = static_cast<std::int64_t>(upper) - lower;
  const std::int64_t quotient = range / steps;
  const std::int64_t remainder = range % steps;
  const std::int64_t extra = remainder < 0 ? -1 : 1;
  const std::int64_t extraSteps = remainder < 0 ? -remainder : remainder;
  std::int64_t level = lower;
  levels[0] = lower;
  for (std::int64_t k = 1; k <= steps; ++k) {
    level += quotient + (k <= extraSteps ? extra : 0);
    levels[k] = static_cast<Ipp32s>(level);
  }
}

/// A level as a counter index: below 0 counts from 0, above 255 from 256
/// (past every byte value).
int clampLevel(Ipp32s level) { return level < 0 ? 0 : level > 256 ? 256 : level; }

/// Bin k holds the bytes v with levels[k] <= v < levels[k + 1]; a byte equal
/// to the last level is in no bin.
void sumBins(const ByteCounts& counts, const Ipp32s* levels, int nLevels, Ipp32s* hist) {
  for (int k = 0; k + 1 < nLevels; ++k) {
    const int from = clampLevel(levels[k]);
    const int to = clampLevel(levels[k + 1]);
    std::int64_t sum = 0;
    for (int v = from; v < to; ++v) sum += counts[v];
    hist[k] = static_cast<Ipp32s>(sum);
  }
}

/// Counts every byte of the region per channel: byte i of a row goes to
/// channel i mod channels. Neighbouring pixels count into separate copies of
/// the counters, summed at the end, so runs of equal bytes do not make each
/// increment wait for the previous one.
template <int Channels>
std::array<ByteCounts, Channels> countBytes(const Ipp8u* src, int srcStep, IppiSize roi) {
  constexpr int kCopies = Channels == 1 ? 4 : 2;
  std::vector<ByteCounts> copies(Channels * kCopies, ByteCounts{});
  for (int y = 0; y < roi.height; ++y) {
    const Ipp8u* row = rowAt(src, srcStep, y);
    int x = 0;
    for (; x + kCopies <= roi.width; x += kCopies, row += Channels * kCopies)
      for (int k = 0; k < Channels * kCopies; ++k) ++copies[k][row[k]];
    for (; x < roi.width; ++x, row += Channels)
      for (int c = 0; c < Channels; ++c) ++copies[c][row[c]];
  }
  std::array<ByteCounts, Channels> counts{};
  for (int k = 0; k < Channels * kCopies; ++k)
    for (int v = 0; v < 256; ++v) counts[k % Channels][v] += copies[k][v];
  return counts;
}

IppStatus checkRegion(IppiSize roi, int srcStep) {
  if (isEmpty(roi)) return ippStsSizeErr;
  if (srcStep < 1) return ippStsStepErr;
  return ippStsNoErr;
}

}  // namespace
}  // namespace fc::primitives

extern "C" FC_API IppStatus px_ippiHistogramEven_8u_C1R(const Ipp8u* pSrc, int srcStep, IppiSize roiSize,
                                                        Ipp32s* pHist, Ipp32s* pLevels, int nLevels,
                                                        Ipp32s lowerLevel, Ipp32s upperLevel) {
  using namespace fc::primitives;
  if (pSrc == nullptr || pHist == nullptr || pLevels == nullptr) return ippStsNullPtrErr;
  if (const IppStatus status = checkRegion(roiSize, srcStep)) return status;
  if (nLevels < 2) return ippStsHistoNofLevelsErr;
  fillEvenLevels(pLevels, nLevels, lowerLevel, upperLevel);
  sumBins(countBytes<1>(pSrc, srcStep, roiSize)[0], pLevels, nLevels, pHist);
  return ippStsNoErr;
}

extern "C" FC_API IppStatus px_ippiHistogramEven_8u_C3R(const Ipp8u* pSrc, int srcStep, IppiSize roiSize,
                                                        Ipp32s* pHist[3], Ipp32s* pLevels[3], int nLevels[3],
                                                        Ipp32s lowerLevel[3], Ipp32s upperLevel[3]) {
  using namespace fc::primitives;
  if (pSrc == nullptr || pHist == nullptr || pLevels == nullptr || nLevels == nullptr ||
      lowerLevel == nullptr || upperLevel == nullptr)
    return ippStsNullPtrErr;
  for (int c = 0; c < 3; ++c) {
    if (pHist[c] == nullptr || pLevels[c] == nullptr) return ippStsNullPtrErr;
    if (nLevels[c] < 2) return ippStsHistoNofLevelsErr;
  }
  if (const IppStatus status = checkRegion(roiSize, srcStep)) return status;
  const auto counts = countBytes<3>(pSrc, srcStep, roiSize);
  for (int c = 0; c < 3; ++c) {
    fillEvenLevels(pLevels[c], nLevels[c], lowerLevel[c], upperLevel[c]);
    sumBins(counts[c], pLevels[c], nLevels[c], pHist[c]);
  }
  return ippStsNoErr;
}
