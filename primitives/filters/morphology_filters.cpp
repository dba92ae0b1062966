// morphology_filters.cpp - the generic (px) variants of erosion and dilation
// of one- and three-channel images.
#include "primitives/filters/morphology_entries.h"
