// color_conversions.cpp - w7 variants of the colour conversions: the generic
// kernels compiled for SSE4.1, which the compiler vectorises.
#define FC_COLOR_ISA w7
#define FC_COLOR_TARGET "sse4.1"
#include "primitives/color/color_conversion_variants.h"
