// rank_kernel_table.h - the table of rank-filter kernels instantiated for one
// instruction-set tag. Include it, with the kernel headers, where that
// variant's kernels are compiled.
#pragma once

#include "primitives/filters/median_3x3_kernel.h"
#include "primitives/filters/median_network_kernel.h"
#include "primitives/filters/rank_variants.h"

namespace fc::primitives::rank {

template <typename Isa>
constexpr RankKernels makeRankKernels() {
  return {&median::medianOf3x3<Isa>,
          &median::medianOfTaps<Isa, 3>,
          &median::medianOfTaps<Isa, 5>,
          &median::medianOfTaps<Isa, 9>,
          &median::medianOf5x5<Isa>,
          nullptr};
}

}  // namespace fc::primitives::rank
