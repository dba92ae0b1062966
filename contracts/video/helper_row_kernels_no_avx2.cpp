// helper_row_kernels_no_avx2.cpp - builds for processors without AVX2 row
// loops.
#include "contracts/video/helper_row_kernels.h"

namespace fc::helpers {

const HelperRowKernels* avx2RowKernelTable() { return nullptr; }

}  // namespace fc::helpers
