// color_conversions_a6.cpp - a6 variants of the colour conversions: the generic
// kernels compiled for SSE2, which the compiler vectorises.
#include "primitives/color/color_conversion_variants.h"
