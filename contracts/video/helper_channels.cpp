// helper_channels.cpp - filling three-byte regions, moving channels between
// layouts, and the colour twist in place.
#include "contracts/video/helper_channels.h"

#include "contracts/video/helper_row_kernels.h"
#include "contracts/video/region_walk.h"
#include "dispatch/primitives.h"

namespace fc {

namespace {

long long bytesOf(IppiSize roi, int channels) { return static_cast<long long>(roi.width) * channels; }

// Runs row(srcRow, dstRow, pixels) over a region whose source pixels have
// srcChannels bytes and destination pixels dstChannels, after the image
// checks and then the caller's own check's result `ownCheck`.
template <typename Row>
IppStatus pixelRegion(const Ipp8u* src, int srcStep, int srcChannels, Ipp8u* dst, int dstStep, int dstChannels,
                      IppiSize roi, Row row, IppStatus ownCheck = ippStsNoErr) {
  const std::initializer_list<helpers::ImageArg> images = {{src, srcStep, bytesOf(roi, srcChannels)},
                                                           {dst, dstStep, bytesOf(roi, dstChannels)}};
  if (const IppStatus status = helpers::checkImages(images, roi)) return status;
  if (ownCheck != ippStsNoErr) return ownCheck;
  const helpers::RowShape shape = helpers::rowShape(roi, static_cast<std::size_t>(roi.width), images);
  for (int y = 0; y < shape.rows; ++y)
    row(helpers::rowAt(src, srcStep, y), helpers::rowAt(dst, dstStep, y), shape.units);
  return ippStsNoErr;
}

bool isChannelOrder(const int order[3]) {
  for (int c = 0; c < 3; ++c)
    if (order[c] < 0 || order[c] > 2) return false;
  return true;
}

}  // namespace

IppStatus ippiSet_8u_C3R(const Ipp8u value[3], Ipp8u* pDst, int dstStep, IppiSize roiSize) {
  if (value == nullptr) return ippStsNullPtrErr;
  const std::initializer_list<helpers::ImageArg> images = {{pDst, dstStep, bytesOf(roiSize, 3)}};
  if (const IppStatus status = helpers::checkImages(images, roiSize)) return status;
  const helpers::SetRow row = helpers::activeRowKernels().setC3;
  const helpers::RowShape shape = helpers::rowShape(roiSize, static_cast<std::size_t>(roiSize.width), images);
  for (int y = 0; y < shape.rows; ++y) row(value, helpers::rowAt(pDst, dstStep, y), shape.units);
  return ippStsNoErr;
}

IppStatus ippiCopy_8u_C1C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize) {
  // Byte stores only: the other channels' bytes are neither read nor written.
  return pixelRegion(pSrc, srcStep, 1, pDst, dstStep, 3, roiSize, [](const Ipp8u* s, Ipp8u* d, std::size_t n) {
    for (std::size_t x = 0; x < n; ++x) d[3 * x] = s[x];
  });
}

IppStatus ippiSwapChannels_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize,
                                  const int dstOrder[3]) {
  if (dstOrder == nullptr) return ippStsNullPtrErr;
  const helpers::SwapRow row = helpers::activeRowKernels().swapC3;
  return pixelRegion(
      pSrc, srcStep, 3, pDst, dstStep, 3, roiSize,
      [row, dstOrder](const Ipp8u* s, Ipp8u* d, std::size_t n) { row(s, d, n, dstOrder); },
      isChannelOrder(dstOrder) ? ippStsNoErr : ippStsChannelOrderErr);
}

IppStatus ippiSwapChannels_8u_C3IR(Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize, const int dstOrder[3]) {
  return ippiSwapChannels_8u_C3R(pSrcDst, srcDstStep, pSrcDst, srcDstStep, roiSize, dstOrder);
}

IppStatus ippiCopy_8u_C3AC4R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize) {
  return pixelRegion(pSrc, srcStep, 3, pDst, dstStep, 4, roiSize, helpers::activeRowKernels().c3ToAc4);
}

IppStatus ippiCopy_8u_AC4C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize) {
  return pixelRegion(pSrc, srcStep, 4, pDst, dstStep, 3, roiSize, helpers::activeRowKernels().ac4ToC3);
}

IppStatus ippiColorTwist32f_8u_C3IR(Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize, const Ipp32f twist[3][4]) {
  if (twist == nullptr) return ippStsNullPtrErr;
  if (const IppStatus status = helpers::checkImages({{pSrcDst, srcDstStep, bytesOf(roiSize, 3)}}, roiSize))
    return status;
  // The two-image twist forms each pixel's three results before storing
  // them, so it runs in place.
  return fc_entry(ippiColorTwist32f_8u_C3R)(pSrcDst, srcDstStep, pSrcDst, srcDstStep, roiSize, twist);
}

}  // namespace fc
