// warp_entries.cpp - the generic variants of the rotation, shear,
// perspective and bilinear entry points: their engines with the generic
// kernels.
#include "primitives/geometry/warp_engines.h"
#include "primitives/geometry/warp_entry.h"

FC_FOR_EACH_WARP_ENTRY(FC_DEFINE_WARP_ENTRY)
