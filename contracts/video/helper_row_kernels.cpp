// helper_row_kernels.cpp - the plain row loops of the helper primitives and
// the choice between them and the AVX2 loops.
#include "contracts/video/helper_row_kernels.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "dispatch/binding.h"
#include "dispatch/primitives.h"

namespace fc::helpers {

namespace {

// Quotient of num / den rounded to the nearest integer, halves to even.
unsigned long long roundHalfEven(unsigned long long num, unsigned long long den) {
  const unsigned long long q = num / den, r = num % den;
  return 2 * r > den || (2 * r == den && (q & 1)) ? q + 1 : q;
}

template <typename Op>
void binaryRow(const Ipp8u* a, const Ipp8u* b, Ipp8u* d, std::size_t n, Op op) {
  for (std::size_t i = 0; i < n; ++i) d[i] = static_cast<Ipp8u>(op(a[i], b[i]));
}

void addRow(const Ipp8u* a, const Ipp8u* b, Ipp8u* d, std::size_t n) {
  binaryRow(a, b, d, n, [](int x, int y) { return std::min(x + y, 255); });
}
void subRow(const Ipp8u* a, const Ipp8u* b, Ipp8u* d, std::size_t n) {
  binaryRow(a, b, d, n, [](int x, int y) { return std::max(y - x, 0); });
}
void mulRow(const Ipp8u* a, const Ipp8u* b, Ipp8u* d, std::size_t n) {
  binaryRow(a, b, d, n, [](int x, int y) { return std::min(x * y, 255); });
}
// Every quotient y / x of bytes, at index x * 256 + y: a look-up is much
// faster than an integer division per byte.
struct QuotientTable {
  std::array<Ipp8u, 65536> q;
  QuotientTable() {
    for (unsigned x = 0; x < 256; ++x)
      for (unsigned y = 0; y < 256; ++y)
        q[x * 256 + y] = x == 0 ? (y == 0 ? 0 : 255) : static_cast<Ipp8u>(roundHalfEven(y, x));
  }
};

void divRow(const Ipp8u* a, const Ipp8u* b, Ipp8u* d, std::size_t n) {
  static const QuotientTable table;
  binaryRow(a, b, d, n, [](unsigned x, unsigned y) { return table.q[x * 256 + y]; });
}
void absDiffRow(const Ipp8u* a, const Ipp8u* b, Ipp8u* d, std::size_t n) {
  binaryRow(a, b, d, n, [](int x, int y) { return x > y ? x - y : y - x; });
}
void orRow(const Ipp8u* a, const Ipp8u* b, Ipp8u* d, std::size_t n) {
  binaryRow(a, b, d, n, [](int x, int y) { return x | y; });
}
void andRow(const Ipp8u* a, const Ipp8u* b, Ipp8u* d, std::size_t n) {
  binaryRow(a, b, d, n, [](int x, int y) { return x & y; });
}
void xorRow(const Ipp8u* a, const Ipp8u* b, Ipp8u* d, std::size_t n) {
  binaryRow(a, b, d, n, [](int x, int y) { return x ^ y; });
}
void notRow(const Ipp8u* s, Ipp8u* d, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) d[i] = static_cast<Ipp8u>(~s[i]);
}

void setC3Row(const Ipp8u v[3], Ipp8u* d, std::size_t pixels) {
  for (std::size_t p = 0; p < pixels; ++p, d += 3) {
    d[0] = v[0];
    d[1] = v[1];
    d[2] = v[2];
  }
}

void swapC3Row(const Ipp8u* s, Ipp8u* d, std::size_t pixels, const int order[3]) {
  for (std::size_t p = 0; p < pixels; ++p, s += 3, d += 3) {
    // The whole pixel is read before any byte is written, for d == s.
    const Ipp8u c0 = s[order[0]], c1 = s[order[1]], c2 = s[order[2]];
    d[0] = c0;
    d[1] = c1;
    d[2] = c2;
  }
}

void c3ToAc4Row(const Ipp8u* s, Ipp8u* d, std::size_t pixels) {
  for (std::size_t p = 0; p < pixels; ++p, s += 3, d += 4) {
    d[0] = s[0];
    d[1] = s[1];
    d[2] = s[2];
  }
}

void ac4ToC3Row(const Ipp8u* s, Ipp8u* d, std::size_t pixels) {
  for (std::size_t p = 0; p < pixels; ++p, s += 4, d += 3) {
    d[0] = s[0];
    d[1] = s[1];
    d[2] = s[2];
  }
}

}  // namespace

Ipp8u scaleRound(unsigned long long num, unsigned long long den, int scale) {
  // Past these shifts the result no longer changes: num < 2^16 and den < 2^8,
  // so a left shift of 16 saturates any nonzero value and a right shift of 40
  // rounds every value to 0.
  if (scale > 0) den <<= std::min(scale, 40);
  if (scale < 0) num <<= scale < -16 ? 16 : -scale;  // (-scale overflows for INT_MIN)
  return static_cast<Ipp8u>(std::min<unsigned long long>(roundHalfEven(num, den), 255));
}

const HelperRowKernels& plainRowKernels() {
  static constexpr HelperRowKernels kernels FC_HELPER_ROW_KERNELS;
  return kernels;
}

const HelperRowKernels* avx2RowKernels() {
#if defined(__x86_64__) || defined(__i386__)
  if (__builtin_cpu_supports("avx2")) return avx2RowKernelTable();
#endif
  return nullptr;
}

const HelperRowKernels& rowKernelsFor(std::uint8_t processorClass) {
  const HelperRowKernels* avx2 = avx2RowKernels();
  const bool avx2Class = dispatch::variantFor(dispatch::Pattern::B, processorClass) == dispatch::Variant::t7;
  return avx2 != nullptr && avx2Class ? *avx2 : plainRowKernels();
}

const HelperRowKernels& activeRowKernels() {
  static const HelperRowKernels& chosen = rowKernelsFor(static_cast<std::uint8_t>(Global_CPU() & 0xFF));
  return chosen;
}

}  // namespace fc::helpers
