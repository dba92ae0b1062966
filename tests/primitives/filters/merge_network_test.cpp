// Merge networks built at compile time: sorting and merging every input of
// zeros and ones (by the zero-one principle, then every input), and pruning
// to one rank keeping that rank right.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "primitives/filters/merge_network.h"

namespace {

using fc::primitives::median::MergeNetwork;

std::vector<int> run(const MergeNetwork& net, std::vector<int> values) {
  for (int k = 0; k < net.size; ++k) {
    const auto& e = net.exchanges[k];
    const int lo = std::min(values[e.lo], values[e.hi]);
    const int hi = std::max(values[e.lo], values[e.hi]);
    if (e.keepLo) values[e.lo] = lo;
    if (e.keepHi) values[e.hi] = hi;
  }
  return values;
}

std::vector<int> bitsOf(unsigned pattern, int n) {
  std::vector<int> bits(n);
  for (int i = 0; i < n; ++i) bits[i] = (pattern >> i) & 1;
  return bits;
}

TEST(MergeNetwork, SortsEveryInputOfZerosAndOnes) {
  for (int n = 1; n <= 13; ++n) {
    MergeNetwork net;
    std::vector<int> wires(n);
    for (int i = 0; i < n; ++i) wires[i] = i;
    net.sort(wires.data(), n, net.rank.data());
    for (unsigned pattern = 0; pattern < (1u << n); ++pattern) {
      std::vector<int> expected = bitsOf(pattern, n);
      const std::vector<int> out = run(net, expected);
      std::sort(expected.begin(), expected.end());
      for (int r = 0; r < n; ++r) ASSERT_EQ(out[net.rank[r]], expected[r]) << "n " << n << " pattern " << pattern;
    }
  }
}

// Two sorted lists of zeros and ones are given by how many ones each ends
// with; a network pruned to one rank still yields that rank.
TEST(MergeNetwork, MergesSortedListsAndKeepsThePrunedRank) {
  for (int m = 1; m <= 14; ++m)
    for (int n = 1; n <= 14; ++n)
      for (int wanted : {0, (m + n) / 2, m + n - 1}) {
        MergeNetwork net;
        std::vector<int> a(m), b(n);
        for (int i = 0; i < m; ++i) a[i] = i;
        for (int i = 0; i < n; ++i) b[i] = m + i;
        net.merge(a.data(), m, b.data(), n, net.rank.data());
        net.keepOnly(&net.rank[wanted], 1);
        for (int onesA = 0; onesA <= m; ++onesA)
          for (int onesB = 0; onesB <= n; ++onesB) {
            std::vector<int> values(m + n, 0);
            std::fill(values.begin() + (m - onesA), values.begin() + m, 1);
            std::fill(values.end() - onesB, values.end(), 1);
            std::vector<int> sorted = values;
            std::sort(sorted.begin(), sorted.end());
            ASSERT_EQ(run(net, values)[net.rank[wanted]], sorted[wanted])
                << m << "+" << n << " rank " << wanted << " ones " << onesA << "," << onesB;
          }
      }
}

}  // namespace
