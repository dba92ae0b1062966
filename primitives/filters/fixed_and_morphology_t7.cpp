// fixed_and_morphology_t7.cpp - t7 variants of the fixed-kernel filters: the
// generic code compiled for AVX2, which the compiler vectorises (eight 32-bit
// sums per instruction), and the Gauss filters written with AVX2
// intrinsics. Erosion and dilation are in morphology_t7.cpp.
//
// Everything that is not compiled per variant is included before the target
// switch, so no shared inline code is compiled for AVX2.
#include <immintrin.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "dispatch/primitives.h"
#include "primitives/color/point_checks.h"
#include "primitives/variant.h"

FC_VARIANT_TARGET_BEGIN()

#include "primitives/filters/gauss_t7.h"
#include "primitives/filters/fixed_kernel_entries.h"

FC_VARIANT_TARGET_END()
