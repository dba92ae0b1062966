#include "contracts/video/helper_primitives.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "contracts/video/region_walk.h"

namespace fc {

namespace {

IppStatus CheckRegion(const Ipp8u* src, int srcStep, const Ipp8u* dst, int dstStep, IppiSize roi,
                      int channels) {
  const long long rowBytes = static_cast<long long>(roi.width) * channels;
  return helpers::checkImages({{src, srcStep, rowBytes}, {dst, dstStep, rowBytes}}, roi);
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

// Writes the pixels of a row in reverse order into another row.
template <int Channels> void ReverseCopy(const Ipp8u* src, Ipp8u* dst, int width) {
  const Ipp8u* from = src + (width - 1) * Channels;
  for (int x = 0; x < width; ++x, from -= Channels, dst += Channels)
    for (int c = 0; c < Channels; ++c) dst[c] = from[c];
}

void MirrorInPlace(Ipp8u* image, int step, IppiSize roi, IppiAxis flip, int channels) {
  const std::size_t rowBytes = static_cast<std::size_t>(roi.width) * channels;
  std::vector<Ipp8u> swap(rowBytes);
  const int last = roi.height - 1;
  if (flip != ippAxsVertical)
    for (int y = 0; y < last - y; ++y) {
      Ipp8u* top = image + static_cast<std::ptrdiff_t>(y) * step;
      Ipp8u* bottom = image + static_cast<std::ptrdiff_t>(last - y) * step;
      std::memcpy(swap.data(), top, rowBytes);
      std::memcpy(top, bottom, rowBytes);
      std::memcpy(bottom, swap.data(), rowBytes);
    }
  if (flip != ippAxsHorizontal)
    for (int y = 0; y <= last; ++y) ReverseRow(image + static_cast<std::ptrdiff_t>(y) * step, roi.width, channels);
}

IppStatus Mirror(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi, IppiAxis flip,
                 int channels) {
  if (IppStatus s = CheckRegion(src, srcStep, dst, dstStep, roi, channels); s != ippStsNoErr) return s;
  if (flip != ippAxsHorizontal && flip != ippAxsVertical && flip != ippAxsBoth) return ippStsMirrorFlipErr;
  if (src == dst) {
    MirrorInPlace(dst, dstStep, roi, flip, channels);
    return ippStsNoErr;
  }
  const std::size_t rowBytes = static_cast<std::size_t>(roi.width) * channels;
  for (int y = 0; y < roi.height; ++y) {
    const int from = flip == ippAxsVertical ? y : roi.height - 1 - y;
    const Ipp8u* s = src + static_cast<std::ptrdiff_t>(from) * srcStep;
    Ipp8u* d = dst + static_cast<std::ptrdiff_t>(y) * dstStep;
    if (flip == ippAxsHorizontal)
      std::memcpy(d, s, rowBytes);
    else if (channels == 3)
      ReverseCopy<3>(s, d, roi.width);
    else
      ReverseCopy<1>(s, d, roi.width);
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
