#include "contracts/video/helper_primitives.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace fc {

namespace {

IppStatus CheckRegion(const Ipp8u* src, int srcStep, const Ipp8u* dst, int dstStep, IppiSize roi,
                      int channels) {
  if (!src || !dst) return ippStsNullPtrErr;
  if (roi.width <= 0 || roi.height <= 0) return ippStsSizeErr;
  if (srcStep < 1 || dstStep < 1) return ippStsStepErr;
  const long long rowBytes = static_cast<long long>(roi.width) * channels;
  if (srcStep < rowBytes || dstStep < rowBytes) return ippStsStrideErr;
  return ippStsNoErr;
}

IppStatus Copy(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi, int channels) {
  if (IppStatus s = CheckRegion(src, srcStep, dst, dstStep, roi, channels); s != ippStsNoErr) return s;
  const std::size_t rowBytes = static_cast<std::size_t>(roi.width) * channels;
  for (int y = 0; y < roi.height; ++y)
    std::memmove(dst + static_cast<std::ptrdiff_t>(y) * dstStep,
                 src + static_cast<std::ptrdiff_t>(y) * srcStep, rowBytes);
  return ippStsNoErr;
}

// Reverses the order of the pixels of one row in place.
void ReverseRow(Ipp8u* row, int width, int channels) {
  for (int l = 0, r = width - 1; l < r; ++l, --r)
    std::swap_ranges(row + l * channels, row + (l + 1) * channels, row + r * channels);
}

IppStatus Mirror(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi, IppiAxis flip,
                 int channels) {
  if (IppStatus s = CheckRegion(src, srcStep, dst, dstStep, roi, channels); s != ippStsNoErr) return s;
  if (flip != ippAxsHorizontal && flip != ippAxsVertical && flip != ippAxsBoth) return ippStsMirrorFlipErr;
  const std::size_t rowBytes = static_cast<std::size_t>(roi.width) * channels;
  const bool upsideDown = flip != ippAxsVertical;
  // Rows are swapped in pairs through a buffer, so the source may be the
  // destination.
  std::vector<Ipp8u> top(rowBytes), bottom(rowBytes);
  for (int y = 0, last = roi.height - 1; y <= last - y; ++y) {
    const int from = upsideDown ? last - y : y;
    const int to = last - y;
    std::memcpy(top.data(), src + static_cast<std::ptrdiff_t>(from) * srcStep, rowBytes);
    std::memcpy(bottom.data(), src + static_cast<std::ptrdiff_t>(upsideDown ? y : to) * srcStep, rowBytes);
    if (flip != ippAxsHorizontal) {
      ReverseRow(top.data(), roi.width, channels);
      ReverseRow(bottom.data(), roi.width, channels);
    }
    std::memcpy(dst + static_cast<std::ptrdiff_t>(y) * dstStep, top.data(), rowBytes);
    std::memcpy(dst + static_cast<std::ptrdiff_t>(to) * dstStep, bottom.data(), rowBytes);
  }
  return ippStsNoErr;
}

}  // namespace

IppStatus ippiCopy_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize) {
  return Copy(pSrc, srcStep, pDst, dstStep, roiSize, 3);
}

IppStatus ippiCopy_8u_C1R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize) {
  return Copy(pSrc, srcStep, pDst, dstStep, roiSize, 1);
}

IppStatus ippiMirror_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize,
                            IppiAxis flip) {
  return Mirror(pSrc, srcStep, pDst, dstStep, roiSize, flip, 3);
}

IppStatus ippiMirror_8u_C1R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize,
                            IppiAxis flip) {
  return Mirror(pSrc, srcStep, pDst, dstStep, roiSize, flip, 1);
}

}  // namespace fc
