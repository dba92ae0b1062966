// gamma.cpp - gamma correction of three-channel images by table lookup, out
// of place and in place, forward and inverse.
#include "dispatch/primitives.h"
#include "primitives/color/gamma_tables.h"
#include "primitives/color/point_checks.h"

namespace fc::primitives {

const Ipp8u kGammaForward[256] = {
    0, 4, 9, 14, 18, 23, 27, 30, 34, 37, 40, 43, 46, 48, 51, 53,
    55, 58, 60, 62, 64, 66, 68, 70, 72, 73, 75, 77, 78, 80, 82, 83,
    85, 86, 88, 89, 91, 92, 94, 95, 97, 98, 99, 101, 102, 103, 104, 106,
    107, 108, 109, 111, 112, 113, 114, 115, 116, 118, 119, 120, 121, 122, 123, 124,
    125, 126, 127, 128, 129, 130, 131, 132, 133, 134, 135, 136, 137, 138, 139, 140,
    141, 142, 143, 144, 145, 146, 147, 147, 148, 149, 150, 151, 152, 153, 154, 154,
    155, 156, 157, 158, 159, 159, 160, 161, 162, 163, 164, 164, 165, 166, 167, 168,
    168, 169, 170, 171, 171, 172, 173, 174, 174, 175, 176, 177, 177, 178, 179, 180,
    180, 181, 182, 182, 183, 184, 185, 185, 186, 187, 187, 188, 189, 189, 190, 191,
    191, 192, 193, 193, 194, 195, 195, 196, 197, 197, 198, 199, 199, 200, 201, 201,
    202, 203, 203, 204, 205, 205, 206, 206, 207, 208, 208, 209, 209, 210, 211, 211,
    212, 213, 213, 214, 214, 215, 216, 216, 217, 217, 218, 218, 219, 220, 220, 221,
    221, 222, 223, 223, 224, 224, 225, 225, 226, 227, 227, 228, 228, 229, 229, 230,
    230, 231, 232, 232, 233, 233, 234, 234, 235, 235, 236, 236, 237, 238, 238, 239,
    239, 240, 240, 241, 241, 242, 242, 243, 243, 244, 244, 245, 245, 246, 246, 247,
    247, 248, 248, 249, 249, 250, 251, 251, 252, 252, 253, 253, 254, 254, 255, 255};

const Ipp8u kGammaInverse[256] = {
    0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 2, 3, 3, 3, 3,
    4, 4, 4, 4, 4, 5, 5, 5, 5, 6, 6, 6, 6, 7, 7, 7,
    7, 8, 8, 8, 9, 9, 9, 10, 10, 10, 11, 11, 11, 12, 12, 13,
    13, 13, 14, 14, 15, 15, 15, 16, 16, 17, 17, 18, 18, 19, 19, 20,
    20, 21, 21, 22, 22, 23, 23, 24, 24, 25, 25, 26, 27, 27, 28, 28,
    29, 30, 30, 31, 31, 32, 33, 33, 34, 35, 35, 36, 37, 37, 38, 39,
    40, 40, 41, 42, 43, 43, 44, 45, 46, 46, 47, 48, 49, 50, 51, 51,
    52, 53, 54, 55, 56, 57, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66,
    67, 68, 69, 70, 71, 72, 73, 74, 75, 76, 77, 78, 79, 80, 81, 82,
    83, 84, 85, 86, 88, 89, 90, 91, 92, 93, 94, 96, 97, 98, 99, 100,
    102, 103, 104, 105, 107, 108, 109, 110, 112, 113, 114, 116, 117, 118, 119, 121,
    122, 124, 125, 126, 128, 129, 130, 132, 133, 135, 136, 138, 139, 140, 142, 143,
    145, 146, 148, 149, 151, 152, 154, 155, 157, 158, 160, 162, 163, 165, 166, 168,
    170, 171, 173, 174, 176, 178, 179, 181, 183, 184, 186, 188, 190, 191, 193, 195,
    197, 198, 200, 202, 204, 205, 207, 209, 211, 213, 214, 216, 218, 220, 222, 224,
    226, 228, 229, 231, 233, 235, 237, 239, 241, 243, 245, 247, 249, 251, 253, 255};

namespace {

IppStatus lookUp(const Ipp8u (&table)[256], const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep,
                 IppiSize roi) {
  if (const IppStatus status = checkTwoImages(src, srcStep, dst, dstStep, roi)) return status;
  forEachRowC3(src, srcStep, dst, dstStep, roi, [&](const Ipp8u* s, Ipp8u* d, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) d[i] = table[s[i]];
  });
  return ippStsNoErr;
}

}  // namespace
}  // namespace fc::primitives

using fc::primitives::kGammaForward;
using fc::primitives::kGammaInverse;
using fc::primitives::lookUp;

extern "C" FC_API IppStatus px_ippiGammaFwd_8u_C3R FC_TWO_IMAGE_PARAMS() {
  return lookUp(kGammaForward, pSrc, srcStep, pDst, dstStep, roiSize);
}

extern "C" FC_API IppStatus px_ippiGammaInv_8u_C3R FC_TWO_IMAGE_PARAMS() {
  return lookUp(kGammaInverse, pSrc, srcStep, pDst, dstStep, roiSize);
}

extern "C" FC_API IppStatus px_ippiGammaFwd_8u_C3IR FC_IN_PLACE_PARAMS() {
  return lookUp(kGammaForward, pSrcDst, srcDstStep, pSrcDst, srcDstStep, roiSize);
}

extern "C" FC_API IppStatus px_ippiGammaInv_8u_C3IR FC_IN_PLACE_PARAMS() {
  return lookUp(kGammaInverse, pSrcDst, srcDstStep, pSrcDst, srcDstStep, roiSize);
}
