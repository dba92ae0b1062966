// median_square_t7.h - exact median of the 5 x 5 and 7 x 7 squares with
// AVX2, 32 bytes per step. Compiled inside the t7 target region.
//
// The windows of neighbouring pixels share columns, so the work is split in
// three stages over a chunk of a destination row:
//   1. every source column of N bytes is sorted once;
//   2. every two neighbouring sorted columns are merged once into 2N;
//   3. each window merges its pairs of columns and its last column through
//      a merge network pruned to the middle value.
// Stages 1 and 2 are shared by all windows that contain their columns. Each
// network runs on 32 lanes of bytes at once with byte minima and maxima, so
// every byte gets exactly the median of its own lane's values.
#pragma once

#include <immintrin.h>

#include <algorithm>
#include <cstddef>
#include <utility>

#include "dispatch/Fcimagedefs.h"
#include "primitives/filters/merge_network.h"
#include "primitives/filters/rank_support.h"

namespace fc::primitives::median::avx2 {

/// A window of N columns as parts: pairs of columns (2N sorted values) at
/// even columns up to N - 3, and the single sorted column N - 1. The parts'
/// values take consecutive wires of the window network in this order.
template <int N>
struct SquareWindow {
  static_assert(N == 5 || N == 7);
  static constexpr int kPairs = N / 2;

  /// Window column where pair p starts: 0, 3 for N = 5 (the single column
  /// 2 between them, which merges best); 0, 2, 4 for N = 7.
  static constexpr int pairColumn(int p) { return N == 5 ? 3 * p : 2 * p; }
  static constexpr int singleColumn() { return N == 5 ? 2 : N - 1; }
  static constexpr int pairWire(int p) { return 2 * N * p; }
  static constexpr int singleWire() { return 2 * N * kPairs; }

  static constexpr MergeNetwork network() {
    MergeNetwork net;
    int pair[kPairs][2 * N] = {};
    int single[N] = {};
    for (int p = 0; p < kPairs; ++p)
      for (int i = 0; i < 2 * N; ++i) pair[p][i] = pairWire(p) + i;
    for (int i = 0; i < N; ++i) single[i] = singleWire() + i;
    int* median = net.rank.data();
    if constexpr (N == 5) {
      int three[3 * N] = {};
      net.merge(pair[0], 2 * N, single, N, three);
      net.merge(three, 3 * N, pair[1], 2 * N, median);
    } else {
      int left[4 * N] = {}, right[3 * N] = {};
      net.merge(pair[0], 2 * N, pair[1], 2 * N, left);
      net.merge(pair[2], 2 * N, single, N, right);
      net.merge(left, 4 * N, right, 3 * N, median);
    }
    net.keepOnly(&net.rank[N * N / 2], 1);
    return net;
  }
};

template <int N>
constexpr MergeNetwork sortedColumnNetwork() {
  MergeNetwork net;
  int wires[N] = {};
  for (int i = 0; i < N; ++i) wires[i] = i;
  net.sort(wires, N, net.rank.data());
  return net;
}

/// Wires 0 .. N-1 and N .. 2N-1 hold two sorted columns, smallest first.
template <int N>
constexpr MergeNetwork pairNetwork() {
  MergeNetwork net;
  int left[N] = {}, right[N] = {};
  for (int i = 0; i < N; ++i) {
    left[i] = i;
    right[i] = N + i;
  }
  net.merge(left, N, right, N, net.rank.data());
  return net;
}

template <Exchange E>
inline void exchange(__m256i* v) {
  const __m256i a = v[E.lo];
  const __m256i b = v[E.hi];
  if constexpr (E.keepLo) v[E.lo] = _mm256_min_epu8(a, b);
  if constexpr (E.keepHi) v[E.hi] = _mm256_max_epu8(a, b);
}

template <const MergeNetwork& Net, std::size_t... K>
inline void applyNetwork(__m256i* v, std::index_sequence<K...>) {
  (exchange<Net.exchanges[K]>(v), ...);
}

template <const MergeNetwork& Net>
inline void apply(__m256i* v) {
  applyNetwork<Net>(v, std::make_index_sequence<Net.size>());
}

inline __m256i load(const Ipp8u* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
inline void store(Ipp8u* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

/// Calls step(i) for 32-byte blocks covering [0, n), n at least 32; the last
/// block overlaps the one before when n is not a multiple of 32.
template <typename Step>
inline void forEachBlock(std::ptrdiff_t n, Step step) {
  std::ptrdiff_t i = 0;
  for (; i + 32 <= n; i += 32) step(i);
  if (i < n) step(n - 32);
}

template <int N>
class MedianSquare {
 public:
  /// Destination bytes per chunk; the chunk's sorted columns and pairs stay
  /// in the first-level cache.
  static constexpr std::ptrdiff_t kChunk = 512;

  /// The medians of destination bytes [first, first + length) of one row,
  /// length at least 32; `top` is the window origin of the row's first pixel.
  void chunk(const Ipp8u* top, std::ptrdiff_t step, Ipp8u* dstRow, std::ptrdiff_t first, std::ptrdiff_t length) {
    const Ipp8u* source = top + first;
    forEachBlock(length + (N - 1) * kC, [&](std::ptrdiff_t i) {
      __m256i v[N];
      for (int r = 0; r < N; ++r) v[r] = load(source + r * step + i);
      apply<kSortedColumn>(v);
      for (int r = 0; r < N; ++r) store(sorted_[r] + i, v[kSortedColumn.rank[r]]);
    });
    forEachBlock(length + (N - 2) * kC, [&](std::ptrdiff_t i) {
      __m256i v[2 * N];
      for (int r = 0; r < N; ++r) {
        v[r] = load(sorted_[r] + i);
        v[N + r] = load(sorted_[r] + i + kC);
      }
      apply<kPair>(v);
      for (int r = 0; r < 2 * N; ++r) store(pairs_[r] + i, v[kPair.rank[r]]);
    });
    forEachBlock(length, [&](std::ptrdiff_t i) {
      __m256i v[N * N];
      for (int p = 0; p < Window::kPairs; ++p)
        for (int r = 0; r < 2 * N; ++r) v[Window::pairWire(p) + r] = load(pairs_[r] + i + Window::pairColumn(p) * kC);
      for (int r = 0; r < N; ++r) v[Window::singleWire() + r] = load(sorted_[r] + i + Window::singleColumn() * kC);
      apply<kWindow>(v);
      store(dstRow + first + i, v[kWindow.rank[N * N / 2]]);
    });
  }

 private:
  using Window = SquareWindow<N>;
  static constexpr std::ptrdiff_t kC = rank::kChannels;
  static constexpr MergeNetwork kSortedColumn = sortedColumnNetwork<N>();
  static constexpr MergeNetwork kPair = pairNetwork<N>();
  static constexpr MergeNetwork kWindow = Window::network();

  alignas(32) Ipp8u sorted_[N][kChunk + (N - 1) * kC + 32];
  alignas(32) Ipp8u pairs_[2 * N][kChunk + (N - 2) * kC + 32];
};

/// For every destination byte, the median of the same channel's N x N
/// window whose top-left pixel, for the first destination pixel, is
/// `origin`. Rows shorter than 32 bytes take `narrow`.
template <int N, typename Narrow>
void medianOfSquare(const Ipp8u* origin, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi, Narrow narrow) {
  const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(rank::rowBytes(roi.width));
  if (rowBytes < 32) {
    narrow(origin, srcStep, dst, dstStep, roi);
    return;
  }
  MedianSquare<N> median;
  for (int y = 0; y < roi.height; ++y) {
    const Ipp8u* top = origin + static_cast<std::ptrdiff_t>(y) * srcStep;
    Ipp8u* dstRow = dst + static_cast<std::ptrdiff_t>(y) * dstStep;
    for (std::ptrdiff_t first = 0; first < rowBytes; first += MedianSquare<N>::kChunk) {
      // A last chunk shorter than a block moves back to end at the row's end.
      const std::ptrdiff_t start = std::min(first, rowBytes - 32);
      median.chunk(top, srcStep, dstRow, start, std::min(MedianSquare<N>::kChunk, rowBytes - start));
    }
  }
}

}  // namespace fc::primitives::median::avx2
