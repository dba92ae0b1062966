// rank_variants.h - the rank filters split into fronts and kernels.
//
// A front checks the arguments, picks the method and manages work buffers;
// it is compiled once. The kernels are the inner loops, written once as
// templates and compiled per instruction set: each code variant instantiates
// them for its own tag and hands the fronts its table of kernels, so every
// variant runs the same arithmetic.
#pragma once

#include <array>
#include <cstddef>

#include "dispatch/Fcimagedefs.h"
#include "primitives/filters/rank_support.h"

namespace fc::primitives::rank {

/// Instruction-set tags. Kernels instantiated for different tags are
/// different functions, so each may be compiled with its own target.
struct Generic {};
struct Avx2 {};

/// A window position: dx pixels right and dy rows down from the window origin.
struct Tap {
  int dx;
  int dy;
};

/// For every destination byte, the median of the same channel's bytes at the
/// Count taps, counted from `origin` (the window origin of the first
/// destination pixel).
template <int Count>
using MedianOfTaps = void (*)(const Ipp8u* origin, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi,
                              const std::array<Tap, Count>& taps);

/// The kernels of one code variant.
struct RankKernels {
  /// Median of the 3 x 3 square anchored at `origin` for every destination byte.
  void (*medianOf3x3)(const Ipp8u* origin, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi);
  MedianOfTaps<3> medianOf3Taps;
  MedianOfTaps<5> medianOf5Taps;
  MedianOfTaps<9> medianOf9Taps;
  /// Median of the 5 x 5 square anchored at `origin` for every destination byte.
  void (*medianOf5x5)(const Ipp8u* origin, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi);
  /// The same for the 7 x 7 square; null where the sliding histogram serves.
  void (*medianOf7x7)(const Ipp8u* origin, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi);
};

/// The kernels compiled for any processor.
extern const RankKernels kGenericKernels;

/// The argument checks of the minimum and maximum filters, in their order.
IppStatus checkMinMax(const Ipp8u* src, int srcStep, const Ipp8u* dst, int dstStep, IppiSize roi, IppiSize mask,
                      IppiPoint anchor);

/// The fronts: whole primitives running the given kernels.
IppStatus filterMedian(const RankKernels& kernels, const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep,
                       IppiSize roi, IppiSize mask, IppiPoint anchor);
IppStatus filterMedianCross(const RankKernels& kernels, const Ipp8u* src, int srcStep, Ipp8u* dst,
                            int dstStep, IppiSize roi, int mask);

}  // namespace fc::primitives::rank
