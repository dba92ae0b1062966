// box_filter_t7.cpp - t7 variant of the box filter: the generic code compiled
// for AVX2, which the compiler vectorises (sixteen 16-bit sums per
// instruction).
//
// Everything that is not compiled per variant is included before the target
// switch, so no shared inline code is compiled for AVX2.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "dispatch/primitives.h"
#include "primitives/filters/box_divisor.h"
#include "primitives/filters/rank_support.h"
#include "primitives/variant.h"
#include "primitives/work_buffer.h"

FC_VARIANT_TARGET_BEGIN()

#include "primitives/filters/box_filter_entry.h"

FC_VARIANT_TARGET_END()
