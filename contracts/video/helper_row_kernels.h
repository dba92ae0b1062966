// helper_row_kernels.h - the row loops behind the helper primitives, in a
// plain version and, where the processor has it, an AVX2 version computing
// the same bytes. Internal to the package.
#pragma once

#include <cstddef>
#include <cstdint>

#include "dispatch/Fcimagedefs.h"

namespace fc::helpers {

/// d[i] = f(a[i], b[i]) for n bytes; d may be a or b.
using BinaryRow = void (*)(const Ipp8u* a, const Ipp8u* b, Ipp8u* d, std::size_t n);
/// d[i] = f(s[i]) for n bytes; d may be s.
using UnaryRow = void (*)(const Ipp8u* s, Ipp8u* d, std::size_t n);
/// Writes `pixels` three-byte pixels of the value v.
using SetRow = void (*)(const Ipp8u v[3], Ipp8u* d, std::size_t pixels);
/// Converts `pixels` pixels between layouts (s and d do not overlap).
using PixelRow = void (*)(const Ipp8u* s, Ipp8u* d, std::size_t pixels);
/// d pixel channel c = s pixel channel order[c], for `pixels` three-byte
/// pixels; d may be s.
using SwapRow = void (*)(const Ipp8u* s, Ipp8u* d, std::size_t pixels, const int order[3]);

/// One set of row loops. The arithmetic ones are those of scale factor 0:
/// add min(a + b, 255), sub max(b - a, 0), mul min(a * b, 255), div b / a
/// rounded half to even (255 for a = 0 < b, 0 for a = b = 0).
struct HelperRowKernels {
  BinaryRow add, sub, mul, div, absDiff;
  BinaryRow bitOr, bitAnd, bitXor;
  UnaryRow bitNot;
  SetRow setC3;
  SwapRow swapC3;
  PixelRow c3ToAc4, ac4ToC3;
};

/// The table of a set of loops named addRow, subRow ... in the current
/// scope, as each set's file names them.
#define FC_HELPER_ROW_KERNELS                                                                                 \
  {                                                                                                          \
    .add = addRow, .sub = subRow, .mul = mulRow, .div = divRow, .absDiff = absDiffRow, .bitOr = orRow,       \
    .bitAnd = andRow, .bitXor = xorRow, .bitNot = notRow, .setC3 = setC3Row, .swapC3 = swapC3Row,            \
    .c3ToAc4 = c3ToAc4Row, .ac4ToC3 = ac4ToC3Row                                                             \
  }

/// The plain loops.
const HelperRowKernels& plainRowKernels();
/// The AVX2 loops, or null where they are not built or the processor lacks
/// AVX2.
const HelperRowKernels* avx2RowKernels();
/// The AVX2 loops as built, without the processor check (null where they
/// are not built); only avx2RowKernels calls it.
const HelperRowKernels* avx2RowKernelTable();
/// The loops for a processor class (the low 8 bits of Global_CPU()): AVX2
/// where the class selects the AVX2 (t7) variants of the dispatched
/// primitives and the processor has AVX2, else plain.
const HelperRowKernels& rowKernelsFor(std::uint8_t processorClass);
/// The loops the primitives use: those of this process's processor class,
/// decided on first use.
const HelperRowKernels& activeRowKernels();

/// The result of a scale-factor-0 operation scaled by 2^-scale: the value
/// num / den (den > 0) times 2^-scale, rounded half to even and saturated to
/// 0..255.
Ipp8u scaleRound(unsigned long long num, unsigned long long den, int scale);

}  // namespace fc::helpers
