// min_max_kernel.h - the reduction step of the generic minimum and maximum
// filters.
#pragma once

#include <cstddef>
#include <cstring>

#include "dispatch/Fcimagedefs.h"
#include "primitives/filters/rank_support.h"

namespace fc::primitives::minmax {

struct Minimum {
  static Ipp8u pick(Ipp8u a, Ipp8u b) { return rank::smaller(a, b); }
};
struct Maximum {
  static Ipp8u pick(Ipp8u a, Ipp8u b) { return rank::larger(a, b); }
};

/// out[i] = the pick over k < count of first[i + k * stride]: a source row
/// over the mask's width (stride one pixel) or the ring over its rows (stride
/// one ring row). Two inputs are folded per pass to halve the passes.
template <typename Pick>
void reduceSpaced(const Ipp8u* first, std::ptrdiff_t stride, int count, std::ptrdiff_t bytes,
                  Ipp8u* __restrict out) {
  int k = 1;
  if (count % 2 == 0) {
    const Ipp8u* a = first;
    const Ipp8u* b = first + stride;
    for (std::ptrdiff_t i = 0; i < bytes; ++i) out[i] = Pick::pick(a[i], b[i]);
    k = 2;
  } else {
    std::memcpy(out, first, static_cast<std::size_t>(bytes));
  }
  for (; k + 1 < count; k += 2) {
    const Ipp8u* a = first + k * stride;
    const Ipp8u* b = a + stride;
    for (std::ptrdiff_t i = 0; i < bytes; ++i) out[i] = Pick::pick(out[i], Pick::pick(a[i], b[i]));
  }
}

}  // namespace fc::primitives::minmax
