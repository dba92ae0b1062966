// box_filter.cpp - the generic (px) variant of the box (mean) filter.
#include "primitives/filters/box_filter_entry.h"
