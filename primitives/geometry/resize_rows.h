// resize_rows.h - what a code variant of the resize entries may replace: the
// inner row loops of the separable kernels. The tables they read and the
// front that checks, sizes and dispatches are shared by every variant, so
// all variants compute the same bytes as long as their loops do.
#pragma once

#include "dispatch/primitives.h"

namespace fc::primitives::resize {

/// Linear table entry: sample offset of the left tap (the right tap is one
/// pixel further) and the right tap's weight in 14-bit fixed point.
struct LinearSample {
  Ipp32s first;
  Ipp32s weight;
};

/// Cubic table entry: offset of the first of four taps and the Newton
/// coefficients of the position within them.
struct CubicSample {
  Ipp32s first;
  double a;
  double b;
  double c;
};

inline constexpr int kLanczosTaps = 6;

/// Lanczos table entry: the six taps (border replicated) and their
/// normalised weights.
struct LanczosSample {
  Ipp32s taps[kLanczosTaps];
  double weights[kLanczosTaps];
};

/// The loops of one separable kernel. `row` interpolates a source row along
/// the destination's columns; `rowSamples` is how many samples may be read
/// from `source`. `combine` mixes the kernel's rows into destination bytes.
template <typename Sample, typename Value>
struct SeparableRoutines {
  using RowFn = void (*)(const Ipp8u* source, int rowSamples, const Sample* columns, int width,
                         Value* out);
  using CombineFn = void (*)(const Value* const* rows, const Sample& row, int length, Ipp8u* out);
  RowFn rowC1;
  RowFn rowC3;
  CombineFn combine;
};

using LinearRoutines = SeparableRoutines<LinearSample, Ipp16u>;
using CubicRoutines = SeparableRoutines<CubicSample, Ipp32f>;
using LanczosRoutines = SeparableRoutines<LanczosSample, Ipp32f>;

/// A nearest-neighbour resize as its row loop sees it: destination row r
/// takes the samples at the offsets `columns` (from the image's left edge)
/// of source row rows[r].
struct NearestCopy {
  const Ipp8u* src;
  int srcStep;
  int rowSamples;  // samples that may be read from a source row
  int channels;
  const Ipp32s* columns;
  int width;
  const Ipp32s* rows;
  int height;
  Ipp8u* dst;
  int dstStep;
};

/// One destination row of a nearest copy; `plan` is whatever the routine
/// that passes it prepared for these columns.
using NearestRowFn = void (*)(const Ipp8u* source, const NearestCopy& copy, Ipp8u* out, const void* plan);

/// Runs `row` for every destination row of `copy`. A row whose source row is
/// the one of the row before copies that destination row instead.
void copyNearestRows(const NearestCopy& copy, NearestRowFn row, const void* plan);

/// Whole nearest copies of one and of three channels.
struct NearestRoutines {
  using CopyFn = void (*)(const NearestCopy& copy);
  CopyFn c1;
  CopyFn c3;
};

struct RowRoutines {
  NearestRoutines nearest;
  LinearRoutines linear;
  CubicRoutines cubic;
  LanczosRoutines lanczos;
};

/// The generic loops, which define the results.
NearestRoutines genericNearestRoutines();
LinearRoutines genericLinearRoutines();
CubicRoutines genericCubicRoutines();
LanczosRoutines genericLanczosRoutines();
RowRoutines genericRowRoutines();

/// The arguments of the resize entries, in their order.
struct Arguments {
  const Ipp8u* src;
  IppiSize srcSize;
  int srcStep;
  TFCImageRect srcRoi;
  Ipp8u* dst;
  int dstStep;
  IppiSize dstRoiSize;
  double xFactor;
  double yFactor;
  int interpolation;
};

/// A whole resize call on 1 or 3 channels, with the given row loops.
IppStatus resize(const Arguments& arguments, int channels, const RowRoutines& routines);

}  // namespace fc::primitives::resize

/// Defines the variant entries <tag>_ippiResize_8u_C3R and _C1R on the row
/// loops `routines` (an expression giving a RowRoutines).
#define FC_DEFINE_RESIZE_ENTRY(tag, channels, routines)                                         \
  extern "C" FC_API IppStatus tag##_ippiResize_8u_C##channels##R(                              \
      const Ipp8u* pSrc, IppiSize srcSize, int srcStep, TFCImageRect srcRoi, Ipp8u* pDst,      \
      int dstStep, IppiSize dstRoiSize, double xFactor, double yFactor, int interpolation) {    \
    return fc::primitives::resize::resize({pSrc, srcSize, srcStep, srcRoi, pDst, dstStep,      \
                                           dstRoiSize, xFactor, yFactor, interpolation},       \
                                          channels, routines);                                 \
  }
#define FC_DEFINE_RESIZE_ENTRIES(tag, routines) \
  FC_DEFINE_RESIZE_ENTRY(tag, 3, routines)      \
  FC_DEFINE_RESIZE_ENTRY(tag, 1, routines)
