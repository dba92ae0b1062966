// color_conversions_t7.cpp - t7 variants of the colour conversions: the generic
// kernels compiled for AVX2, which the compiler vectorises.
#include "primitives/color/color_conversion_variants.h"
