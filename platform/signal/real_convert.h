// real_convert.h - conversions of sample vectors to real values.
//
// Plain functions with the primitives' conventions: arguments checked first
// (null pointers, then the length), the first failing check's status
// returned, nothing written on failure.
#pragma once

#include "dispatch/Fcimagedefs.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// A 64-bit floating-point sample.
using Ipp64f = double;

/// Converts `len` signed 32-bit integers to doubles (every value is exact).
/// ippStsNullPtrErr for a null pointer, ippStsSizeErr when len < 1.
FC_COMPONENTS_API IppStatus ippsConvert_32s64f(const Ipp32s* pSrc, Ipp64f* pDst, int len);

}  // namespace fc
