// color_conversions.cpp - a6 variants of the colour conversions: the generic
// kernels compiled for SSE2, which the compiler vectorises.
#define FC_COLOR_ISA a6
#define FC_COLOR_TARGET "sse2"
#include "primitives/color/color_conversion_variants.h"
