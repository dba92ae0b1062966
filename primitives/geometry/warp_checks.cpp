// warp_checks.cpp - argument checks and call set-up shared by the warp engines.
#include "primitives/geometry/warp_checks.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace fc::primitives::warp {
namespace {

bool sizesValid(const GeometricArgs& a) {
  return a.srcSize.width >= 1 && a.srcSize.height >= 1 && a.srcRoi.x >= 0 && a.srcRoi.y >= 0 &&
         a.srcRoi.width >= 1 && a.srcRoi.height >= 1 && a.dstRoi.x >= 0 && a.dstRoi.y >= 0 &&
         a.dstRoi.width >= 1 && a.dstRoi.height >= 1;
}

/// Last column (or row) of a rectangle starting at `origin`, kept within int.
int lastIndex(int origin, int length) {
  return static_cast<int>(std::min<std::int64_t>(std::int64_t{origin} + length - 1, INT_MAX));
}

Kernel reducedKernel(int interpolation, IppiSize srcSize) {
  const int bits = kernelBits(interpolation);
  if (srcSize.width == 1 || srcSize.height == 1) return Kernel::nearest;
  if (bits == IPPI_INTER_CUBIC && (srcSize.width < 4 || srcSize.height < 4)) return Kernel::linear;
  return static_cast<Kernel>(bits);
}

}  // namespace

IppStatus checkImages(const GeometricArgs& args, int interpolation) {
  if (args.src == nullptr || args.dst == nullptr) return ippStsNullPtrErr;
  if (!sizesValid(args)) return ippStsSizeErr;
  if (args.srcStep < 1 || args.dstStep < 1) return ippStsStepErr;
  const int bits = kernelBits(interpolation);
  if (bits != IPPI_INTER_NN && bits != IPPI_INTER_LINEAR && bits != IPPI_INTER_CUBIC)
    return ippStsInterpolationErr;
  return ippStsNoErr;
}

bool linearPartRegular(double a, double b, double c, double f) {
  const double d = a * b;
  const double q = std::fabs(d) > 1e-200 ? (d - c * f) / d : c * f;
  return std::fabs(q) > 1e-12;
}

IppStatus setUpWarp(const GeometricArgs& args, int channels, int interpolation, WarpSetup* setup) {
  const Kernel kernel = reducedKernel(interpolation, args.srcSize);
  if (args.srcRoi.x >= args.srcSize.width || args.srcRoi.y >= args.srcSize.height) return ippStsWrongIntersectROI;
  const int w = std::min(args.srcRoi.width, args.srcSize.width - args.srcRoi.x);
  const int h = std::min(args.srcRoi.height, args.srcSize.height - args.srcRoi.y);
  if (w < 2 || h < 2) return ippStsRectErr;
  setup->src = {args.src, args.srcSize.width, args.srcSize.height, args.srcStep, channels};
  setup->srcRect = {args.srcRoi.x, args.srcRoi.y, args.srcRoi.x + w - 1, args.srcRoi.y + h - 1};
  setup->dst = {args.dst, args.dstStep, channels};
  setup->dstRect = {args.dstRoi.x, args.dstRoi.y, lastIndex(args.dstRoi.x, args.dstRoi.width),
                    lastIndex(args.dstRoi.y, args.dstRoi.height)};
  setup->kernel = kernel;
  setup->smoothEdge = (interpolation & IPPI_SMOOTH_EDGE) != 0;
  setup->kernels = args.kernels;
  return ippStsNoErr;
}

}  // namespace fc::primitives::warp
