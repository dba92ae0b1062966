// gamma_tables.h - the forward and inverse gamma lookup tables. Internal.
//
// Entry k of the forward table is 255 * f(k / 255) rounded to nearest with
// ties to even, f(v) = 4.5 v below 0.018 and 1.099 v^0.45 - 0.099 above; the
// inverse table uses g(v) = v / 4.5 below 0.0812 and
// ((v + 0.099) / 1.099)^(1 / 0.45) above. Stored as constants; a test
// recomputes them from that rule.
#pragma once

#include "dispatch/Fcimagedefs.h"

namespace fc::primitives {

extern const Ipp8u kGammaForward[256];
extern const Ipp8u kGammaInverse[256];

}  // namespace fc::primitives
