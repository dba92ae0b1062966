// point_operations.cpp - w7 variants of the point operations written with
// their own instructions: the thresholds with SSE2.
#include "primitives/color/threshold_sse2.h"

FC_DEFINE_THRESHOLD_VARIANTS(w7, fc::primitives::thresholdRowsSse2)
