// rank_kernels_generic.cpp - the rank-filter kernels compiled for any
// processor, used by the generic variant.
#include "primitives/filters/rank_kernel_table.h"

namespace fc::primitives::rank {

constinit const RankKernels kGenericKernels = makeRankKernels<Generic>();

}  // namespace fc::primitives::rank
