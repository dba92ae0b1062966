// fixed_kernel_filters.cpp - the generic (px) variants of the fixed-kernel
// filters: Prewitt, Sobel and Roberts gradients, sharpen, Laplace, high-pass,
// Gauss and low-pass.
#include "primitives/filters/fixed_kernel_entries.h"
