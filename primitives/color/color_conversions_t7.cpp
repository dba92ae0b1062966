// color_conversions.cpp - t7 variants of the colour conversions: the generic
// kernels compiled for AVX2, which the compiler vectorises.
#define FC_COLOR_ISA t7
#define FC_COLOR_TARGET "avx2"
#include "primitives/color/color_conversion_variants.h"
