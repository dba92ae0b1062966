// helper_arithmetic.cpp - the saturating per-byte arithmetic and absolute
// difference of two images.
#include "contracts/video/helper_arithmetic.h"

#include "contracts/video/helper_row_kernels.h"
#include "contracts/video/region_walk.h"

namespace fc {

namespace {

using helpers::BinaryRow;
using helpers::HelperRowKernels;

// The exact result of one operation at scale factor 0, as num / den.
struct Fraction {
  unsigned long long num, den;
};
using ExactOp = Fraction (*)(unsigned a, unsigned b);

// The exact result scaled by 2^-scale, rounded and saturated; a zero
// denominator (a division by 0 of a nonzero byte) stays 255 at any scale.
template <ExactOp Exact>
void scaledRow(const Ipp8u* a, const Ipp8u* b, Ipp8u* d, std::size_t n, int scale) {
  for (std::size_t i = 0; i < n; ++i) {
    const Fraction f = Exact(a[i], b[i]);
    d[i] = f.den == 0 ? 255 : helpers::scaleRound(f.num, f.den, scale);
  }
}

// Scale factor 0 runs the selected row loop; any other scales the exact result.
template <ExactOp Exact>
IppStatus arithmetic(const Ipp8u* src1, int src1Step, const Ipp8u* src2, int src2Step, Ipp8u* dst, int dstStep,
                     IppiSize roi, int channels, int scale, BinaryRow HelperRowKernels::*unscaled) {
  if (scale == 0)
    return helpers::twoSourceRegion(src1, src1Step, src2, src2Step, dst, dstStep, roi, channels,
                                    helpers::activeRowKernels().*unscaled);
  return helpers::twoSourceRegion(
      src1, src1Step, src2, src2Step, dst, dstStep, roi, channels,
      [scale](const Ipp8u* a, const Ipp8u* b, Ipp8u* d, std::size_t n) { scaledRow<Exact>(a, b, d, n, scale); });
}

Fraction exactAdd(unsigned a, unsigned b) { return {a + b, 1}; }
Fraction exactSub(unsigned a, unsigned b) { return {b > a ? b - a : 0u, 1}; }
Fraction exactMul(unsigned a, unsigned b) { return {a * b, 1}; }
// 0 / 0 is 0; another byte over 0 is infinite (denominator 0).
Fraction exactDiv(unsigned a, unsigned b) {
  if (a == 0) return {b, b == 0 ? 1u : 0u};
  return {b, a};
}

}  // namespace

#define FC_ARITHMETIC_PRIMITIVE(name, channels, exact, kernel)                                                 \
  IppStatus name(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2, int src2Step, Ipp8u* pDst, int dstStep, \
                 IppiSize roiSize, int scaleFactor) {                                                          \
    return arithmetic<exact>(pSrc1, src1Step, pSrc2, src2Step, pDst, dstStep, roiSize, channels, scaleFactor,  \
                             &HelperRowKernels::kernel);                                                       \
  }

FC_ARITHMETIC_PRIMITIVE(ippiAdd_8u_C3RSfs, 3, exactAdd, add)
FC_ARITHMETIC_PRIMITIVE(ippiAdd_8u_C1RSfs, 1, exactAdd, add)
FC_ARITHMETIC_PRIMITIVE(ippiSub_8u_C3RSfs, 3, exactSub, sub)
FC_ARITHMETIC_PRIMITIVE(ippiSub_8u_C1RSfs, 1, exactSub, sub)
FC_ARITHMETIC_PRIMITIVE(ippiMul_8u_C3RSfs, 3, exactMul, mul)
FC_ARITHMETIC_PRIMITIVE(ippiMul_8u_C1RSfs, 1, exactMul, mul)
FC_ARITHMETIC_PRIMITIVE(ippiDiv_8u_C3RSfs, 3, exactDiv, div)
FC_ARITHMETIC_PRIMITIVE(ippiDiv_8u_C1RSfs, 1, exactDiv, div)

#undef FC_ARITHMETIC_PRIMITIVE

IppStatus ippiAbsDiff_8u_C1R(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2, int src2Step, Ipp8u* pDst,
                             int dstStep, IppiSize roiSize) {
  return helpers::twoSourceRegion(pSrc1, src1Step, pSrc2, src2Step, pDst, dstStep, roiSize, 1,
                                  helpers::activeRowKernels().absDiff);
}

}  // namespace fc
