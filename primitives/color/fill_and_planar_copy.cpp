// fill_and_planar_copy.cpp - byte fill, and the split of a three-channel
// image into three planes.
#include <cstring>

#include "dispatch/primitives.h"
#include "primitives/color/planar_copy.h"
#include "primitives/color/point_checks.h"

extern "C" FC_API IppStatus px_ippsSet_8u(Ipp8u value, Ipp8u* pDst, int len) {
  if (pDst == nullptr) return ippStsNullPtrErr;
  if (len < 1) return ippStsSizeErr;
  std::memset(pDst, value, static_cast<std::size_t>(len));
  return ippStsNoErr;
}

namespace fc::primitives {

// The plane pointers are held in locals: a byte store may write anywhere,
// so pointers read through `planes` would be read again for every byte.
void splitRowGeneric(const Ipp8u* src, Ipp8u* const planes[3], int from, int width) {
  Ipp8u* const plane0 = planes[0];
  Ipp8u* const plane1 = planes[1];
  Ipp8u* const plane2 = planes[2];
  for (int x = from; x < width; ++x) {
    const Ipp8u* pixel = src + static_cast<std::size_t>(x) * 3;
    plane0[x] = pixel[0];
    plane1[x] = pixel[1];
    plane2[x] = pixel[2];
  }
}

// The steps are not checked: rows may run upwards (negative step) as well as
// downwards. One step serves all three planes.
IppStatus copyToPlanes(SplitRow split, const Ipp8u* src, int srcStep, Ipp8u* const planes[3], int planeStep,
                       IppiSize roi) {
  if (src == nullptr || planes == nullptr) return ippStsNullPtrErr;
  if (planes[0] == nullptr || planes[1] == nullptr || planes[2] == nullptr) return ippStsNullPtrErr;
  if (isEmpty(roi)) return ippStsSizeErr;
  for (int y = 0; y < roi.height; ++y) {
    Ipp8u* const rows[3] = {rowAt(planes[0], planeStep, y), rowAt(planes[1], planeStep, y),
                            rowAt(planes[2], planeStep, y)};
    split(rowAt(src, srcStep, y), rows, roi.width);
  }
  return ippStsNoErr;
}

namespace {

void splitRow(const Ipp8u* src, Ipp8u* const planes[3], int width) { splitRowGeneric(src, planes, 0, width); }

}  // namespace
}  // namespace fc::primitives

extern "C" FC_API IppStatus px_ippiCopy_8u_C3P3R(const Ipp8u* pSrc, int srcStep, Ipp8u* const pDst[3],
                                                 int dstStep, IppiSize roiSize) {
  return fc::primitives::copyToPlanes(fc::primitives::splitRow, pSrc, srcStep, pDst, dstStep, roiSize);
}
