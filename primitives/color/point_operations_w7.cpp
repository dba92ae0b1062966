// point_operations_w7.cpp - w7 variants of the point operations written with
// their own instructions: the thresholds with SSE2.
#include "primitives/color/threshold_sse2.h"

using fc::primitives::thresholdRowsSse2;
FC_DEFINE_THRESHOLD_VARIANTS(w7, (thresholdRowsSse2<true, true>), (thresholdRowsSse2<true, false>),
                             (thresholdRowsSse2<false, true>))
