// color_conversions_t7.cpp - t7 variants of the colour conversions: the generic
// kernels compiled for AVX2, which the compiler vectorises, between block
// reads and writes made with AVX2 byte shuffles.
#include <immintrin.h>

#define FC_COLOR_BLOCK_IO "primitives/color/color_block_io_t7.h"
#include "primitives/color/color_conversion_variants.h"
