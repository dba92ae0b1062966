// color_conversions_w7.cpp - w7 variants of the colour conversions: the generic
// kernels compiled for SSE4.1, which the compiler vectorises.
#include "primitives/color/color_conversion_variants.h"
