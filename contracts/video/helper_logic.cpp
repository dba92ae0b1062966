// helper_logic.cpp - per-byte OR, AND, XOR and NOT of images.
#include "contracts/video/helper_logic.h"

#include "contracts/video/helper_row_kernels.h"
#include "contracts/video/region_walk.h"

namespace fc {

namespace {

using helpers::BinaryRow;
using helpers::HelperRowKernels;

// Runs the selected two-source row loop over a region after the checks.
IppStatus logicRegion(const Ipp8u* src1, int src1Step, const Ipp8u* src2, int src2Step, Ipp8u* dst, int dstStep,
                      IppiSize roi, int channels, BinaryRow HelperRowKernels::*kernel) {
  return helpers::twoSourceRegion(src1, src1Step, src2, src2Step, dst, dstStep, roi, channels,
                                  helpers::activeRowKernels().*kernel);
}

}  // namespace

#define FC_LOGIC_PRIMITIVE(name, channels, kernel)                                                                     \
  IppStatus name(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2, int src2Step, Ipp8u* pDst, int dstStep,         \
                 IppiSize roiSize) {                                                                                   \
    return logicRegion(pSrc1, src1Step, pSrc2, src2Step, pDst, dstStep, roiSize, channels, &HelperRowKernels::kernel); \
  }

FC_LOGIC_PRIMITIVE(ippiOr_8u_C3R, 3, bitOr)
FC_LOGIC_PRIMITIVE(ippiOr_8u_C1R, 1, bitOr)
FC_LOGIC_PRIMITIVE(ippiAnd_8u_C3R, 3, bitAnd)
FC_LOGIC_PRIMITIVE(ippiAnd_8u_C1R, 1, bitAnd)
FC_LOGIC_PRIMITIVE(ippiXor_8u_C3R, 3, bitXor)
FC_LOGIC_PRIMITIVE(ippiXor_8u_C1R, 1, bitXor)

#undef FC_LOGIC_PRIMITIVE

IppStatus ippiAnd_8u_C3IR(const Ipp8u* pSrc, int srcStep, Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize) {
  return logicRegion(pSrc, srcStep, pSrcDst, srcDstStep, pSrcDst, srcDstStep, roiSize, 3, &HelperRowKernels::bitAnd);
}

IppStatus ippiOr_8u_C3IR(const Ipp8u* pSrc, int srcStep, Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize) {
  return logicRegion(pSrc, srcStep, pSrcDst, srcDstStep, pSrcDst, srcDstStep, roiSize, 3, &HelperRowKernels::bitOr);
}

IppStatus ippiNot_8u_C3IR(Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize) {
  const long long rowBytes = static_cast<long long>(roiSize.width) * 3;
  const std::initializer_list<helpers::ImageArg> images = {{pSrcDst, srcDstStep, rowBytes}};
  if (const IppStatus status = helpers::checkImages(images, roiSize)) return status;
  const helpers::UnaryRow row = helpers::activeRowKernels().bitNot;
  const helpers::RowShape shape = helpers::rowShape(roiSize, static_cast<std::size_t>(rowBytes), images);
  for (int y = 0; y < shape.rows; ++y) {
    Ipp8u* line = helpers::rowAt(pSrcDst, srcDstStep, y);
    row(line, line, shape.units);
  }
  return ippStsNoErr;
}

}  // namespace fc
