// color_twist.cpp - the 3 x 4 affine colour matrix applied to every pixel of a
// three-channel image.
#include "dispatch/primitives.h"
#include "primitives/color/point_checks.h"

namespace fc::primitives {
namespace {

/// Output channel of one matrix row, accumulated in extended precision in the
/// fixed order (t0 * s0 + t3) + t1 * s1 + t2 * s2.
long double twistRow(const Ipp32f row[4], const Ipp8u* pixel) {
  long double sum = static_cast<long double>(row[0]) * pixel[0] + row[3];
  sum += static_cast<long double>(row[1]) * pixel[1];
  sum += static_cast<long double>(row[2]) * pixel[2];
  return sum;
}

/// Saturates to 0..255 and rounds to nearest, ties to even: d + 0.5 is
/// truncated, and one is taken off when that gives an odd number from an
/// exact half. A NaN (from NaN coefficients) gives 0 rather than an undefined
/// conversion.
Ipp8u saturateRoundEven(long double d) {
  if (d >= 255.0L) return 255;
  if (!(d > 0.0L)) return 0;
  const long double shifted = d + 0.5L;
  int rounded = static_cast<int>(shifted);
  if ((rounded & 1) != 0 && shifted == static_cast<long double>(rounded)) --rounded;
  return static_cast<Ipp8u>(rounded);
}

}  // namespace
}  // namespace fc::primitives

extern "C" FC_API IppStatus px_ippiColorTwist32f_8u_C3R FC_TWO_IMAGE_PARAMS(const Ipp32f twist[3][4]) {
  using namespace fc::primitives;
  if (twist == nullptr) return ippStsNullPtrErr;
  if (const IppStatus status = checkTwoImages(pSrc, srcStep, pDst, dstStep, roiSize)) return status;
  forEachRowC3(pSrc, srcStep, pDst, dstStep, roiSize, [&](const Ipp8u* s, Ipp8u* d, std::size_t n) {
    for (std::size_t i = 0; i < n; i += 3) {
      // All three outputs are formed before any is stored, so a destination
      // that is the source still reads the original pixel.
      const Ipp8u out0 = saturateRoundEven(twistRow(twist[0], s + i));
      const Ipp8u out1 = saturateRoundEven(twistRow(twist[1], s + i));
      const Ipp8u out2 = saturateRoundEven(twistRow(twist[2], s + i));
      d[i] = out0;
      d[i + 1] = out1;
      d[i + 2] = out2;
    }
  });
  return ippStsNoErr;
}
