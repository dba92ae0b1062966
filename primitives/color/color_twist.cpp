// color_twist.cpp - the 3 x 4 affine colour matrix applied to every pixel of a
// three-channel image.
#include "primitives/color/color_twist.h"

#include "primitives/color/color_twist_kernel.h"
#include "primitives/color/point_checks.h"

namespace fc::primitives {

void twistPixelsGeneric(const TwistRow rows[3], const Ipp8u* src, Ipp8u* dst, std::size_t pixels) {
  for (std::size_t i = 0; i < 3 * pixels; i += 3) {
    // All three outputs are formed before any is stored, so a destination
    // that is the source still reads the original pixel.
    const Ipp8u out0 = twistChannel(rows[0], src + i);
    const Ipp8u out1 = twistChannel(rows[1], src + i);
    const Ipp8u out2 = twistChannel(rows[2], src + i);
    dst[i] = out0;
    dst[i + 1] = out1;
    dst[i + 2] = out2;
  }
}

IppStatus colorTwist(TwistPixels twistPixels, const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep,
                     IppiSize roi, const Ipp32f twist[3][4]) {
  if (twist == nullptr) return ippStsNullPtrErr;
  if (const IppStatus status = checkTwoImages(src, srcStep, dst, dstStep, roi)) return status;
  TwistRow rows[3] = {TwistRow(twist[0]), TwistRow(twist[1]), TwistRow(twist[2])};
  TwistFixedRow* plans[3] = {&rows[0].fixed, &rows[1].fixed, &rows[2].fixed};
  shareScaleAndMargin(twist, plans);
  forEachRowC3(src, srcStep, dst, dstStep, roi,
               [&](const Ipp8u* s, Ipp8u* d, std::size_t n) { twistPixels(rows, s, d, n / 3); });
  return ippStsNoErr;
}

}  // namespace fc::primitives

extern "C" FC_API IppStatus px_ippiColorTwist32f_8u_C3R FC_TWO_IMAGE_PARAMS(const Ipp32f twist[3][4]) {
  return fc::primitives::colorTwist(fc::primitives::twistPixels, pSrc, srcStep, pDst, dstStep, roiSize, twist);
}
