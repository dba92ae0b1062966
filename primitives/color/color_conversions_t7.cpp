// color_conversions_t7.cpp - t7 variants of the colour conversions: the generic
// kernels compiled for AVX2, which the compiler vectorises, between block
// reads and writes made with AVX2 byte shuffles; the YUV, YCbCr and PhotoYCC
// formulas as AVX2 steps of their own.
#include <immintrin.h>

#define FC_COLOR_BLOCK_IO "primitives/color/color_block_io_t7.h"
#define FC_COLOR_FORMULA_STEPS "primitives/color/yuv_ycbcr_ycc_t7.h"
#include "primitives/color/color_conversion_variants.h"
