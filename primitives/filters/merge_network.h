// merge_network.h - comparator networks built at compile time from Batcher's
// odd-even merge, pruned to the outputs a caller needs.
//
// A network works on wires (value slots). An exchange orders two wires: lo
// receives the smaller value, hi the larger. Merging two sorted wire lists
// adds exchanges and yields the wires in rank order; sorting merges halves.
// Pruning walks backwards from the wanted wires and keeps only exchanges
// that touch a wire still needed, marking which of their two results is
// needed, so a kernel computes a minimum, a maximum or both.
#pragma once

#include <array>

namespace fc::primitives::median {

struct Exchange {
  int lo;
  int hi;
  bool keepLo;
  bool keepHi;
};

/// Wires and exchanges of one network; rank[r] is the wire that holds the
/// r-th smallest value of the last merge or sort.
struct MergeNetwork {
  static constexpr int kMaxWires = 64;
  static constexpr int kMaxExchanges = 512;

  std::array<Exchange, kMaxExchanges> exchanges{};
  int size = 0;
  std::array<int, kMaxWires> rank{};

  /// Merges the sorted wire lists a (m wires) and b (n wires) into `out`,
  /// in rank order.
  constexpr void merge(const int* a, int m, const int* b, int n, int* out) {
    if (m == 0 || n == 0) {
      for (int i = 0; i < m; ++i) out[i] = a[i];
      for (int i = 0; i < n; ++i) out[m + i] = b[i];
      return;
    }
    if (m == 1 && n == 1) {
      add(a[0], b[0]);
      out[0] = a[0];
      out[1] = b[0];
      return;
    }
    // Evens and odds are merged apart, interleaved, and the pairs that can
    // still be out of order (odd, next even) exchanged.
    int aEven[kMaxWires] = {}, aOdd[kMaxWires] = {}, bEven[kMaxWires] = {}, bOdd[kMaxWires] = {};
    split(a, m, aEven, aOdd);
    split(b, n, bEven, bOdd);
    int evens[kMaxWires] = {}, odds[kMaxWires] = {};
    merge(aEven, (m + 1) / 2, bEven, (n + 1) / 2, evens);
    merge(aOdd, m / 2, bOdd, n / 2, odds);
    const int evenCount = (m + 1) / 2 + (n + 1) / 2;
    const int oddCount = m / 2 + n / 2;
    int placed = 0;
    for (int i = 0; i < evenCount || i < oddCount; ++i) {
      if (i < evenCount) out[placed++] = evens[i];
      if (i < oddCount) out[placed++] = odds[i];
    }
    for (int i = 1; i + 1 < placed; i += 2) add(out[i], out[i + 1]);
  }

  /// Sorts `n` wires into `out`, in rank order.
  constexpr void sort(const int* wires, int n, int* out) {
    if (n == 1) {
      out[0] = wires[0];
      return;
    }
    int low[kMaxWires] = {}, high[kMaxWires] = {};
    sort(wires, n / 2, low);
    sort(wires + n / 2, n - n / 2, high);
    merge(low, n / 2, high, n - n / 2, out);
  }

  /// Keeps only the exchanges the given wires depend on.
  constexpr void keepOnly(const int* wanted, int count) {
    std::array<bool, kMaxWires> needed{};
    for (int i = 0; i < count; ++i) needed[wanted[i]] = true;
    std::array<bool, kMaxExchanges> kept{};
    for (int k = size - 1; k >= 0; --k) {
      Exchange& e = exchanges[k];
      e.keepLo = needed[e.lo];
      e.keepHi = needed[e.hi];
      kept[k] = e.keepLo || e.keepHi;
      if (kept[k]) needed[e.lo] = needed[e.hi] = true;
    }
    int next = 0;
    for (int k = 0; k < size; ++k)
      if (kept[k]) exchanges[next++] = exchanges[k];
    size = next;
  }

 private:
  constexpr void add(int lo, int hi) { exchanges[size++] = {lo, hi, true, true}; }

  /// Wires at even and at odd positions of a list.
  static constexpr void split(const int* wires, int count, int* evens, int* odds) {
    for (int i = 0; i < count; ++i) {
      if (i % 2 == 0)
        evens[i / 2] = wires[i];
      else
        odds[i / 2] = wires[i];
    }
  }
};

}  // namespace fc::primitives::median
