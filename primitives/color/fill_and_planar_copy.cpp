// fill_and_planar_copy.cpp - byte fill, and the split of a three-channel
// image into three planes.
#include <cstring>

#include "dispatch/primitives.h"
#include "primitives/color/point_checks.h"

extern "C" FC_API IppStatus px_ippsSet_8u(Ipp8u value, Ipp8u* pDst, int len) {
  if (pDst == nullptr) return ippStsNullPtrErr;
  if (len < 1) return ippStsSizeErr;
  std::memset(pDst, value, static_cast<std::size_t>(len));
  return ippStsNoErr;
}

// The steps are not checked: rows may run upwards (negative step) as well as
// downwards. One step serves all three planes.
extern "C" FC_API IppStatus px_ippiCopy_8u_C3P3R(const Ipp8u* pSrc, int srcStep, Ipp8u* const pDst[3],
                                                 int dstStep, IppiSize roiSize) {
  using fc::primitives::rowAt;
  if (pSrc == nullptr || pDst == nullptr) return ippStsNullPtrErr;
  if (pDst[0] == nullptr || pDst[1] == nullptr || pDst[2] == nullptr) return ippStsNullPtrErr;
  if (fc::primitives::isEmpty(roiSize)) return ippStsSizeErr;
  for (int y = 0; y < roiSize.height; ++y) {
    const Ipp8u* s = rowAt(pSrc, srcStep, y);
    Ipp8u* d0 = rowAt(pDst[0], dstStep, y);
    Ipp8u* d1 = rowAt(pDst[1], dstStep, y);
    Ipp8u* d2 = rowAt(pDst[2], dstStep, y);
    for (int x = 0; x < roiSize.width; ++x, s += 3) {
      d0[x] = s[0];
      d1[x] = s[1];
      d2[x] = s[2];
    }
  }
  return ippStsNoErr;
}
