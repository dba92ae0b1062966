// fixed_and_morphology.cpp - t7 variants of the fixed-kernel filters and of
// erosion and dilation: the generic code compiled for AVX2, which the
// compiler vectorises (eight 32-bit sums or 32 bytes per instruction).
//
// Everything that is not compiled per variant is included before the target
// switch, so no shared inline code is compiled for AVX2. Off x86 nothing is
// defined here and the t7 symbols forward to px.
#if defined(__x86_64__) || defined(__i386__)

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "dispatch/primitives.h"
#include "primitives/color/point_checks.h"
#include "primitives/filters/morphology_checks.h"

#define FC_FILTER_ISA t7
#include "primitives/variant.h"

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

#include "primitives/filters/fixed_kernel_entries.h"
#include "primitives/filters/morphology_entries.h"

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

#endif
