// resize.cpp - the resize entries: argument checks in their fixed order,
// reduction of the interpolation mode for small sources, clipping of the
// source rectangle, the destination size, and the choice of kernel.
#include <cstdint>

#include "primitives/geometry/resize_internal.h"

namespace fc::primitives::resize {
namespace {

bool isSupportedInterpolation(int interpolation) {
  return interpolation == IPPI_INTER_NN || interpolation == IPPI_INTER_LINEAR ||
         interpolation == IPPI_INTER_CUBIC || interpolation == IPPI_INTER_LANCZOS;
}

/// The checks both routines share, in order; ippStsNoErr when all pass.
IppStatus checkImagesAndFactors(const Arguments& a) {
  if (a.src == nullptr || a.dst == nullptr) return ippStsNullPtrErr;
  if (a.srcSize.width <= 0 || a.srcSize.height <= 0 || a.srcRoi.x < 0 || a.srcRoi.y < 0 ||
      a.srcRoi.width <= 0 || a.srcRoi.height <= 0)
    return ippStsSizeErr;
  if (a.srcRoi.x >= a.srcSize.width || a.srcRoi.y >= a.srcSize.height)
    return ippStsWrongIntersectROI;
  if (a.dstRoiSize.width <= 0 || a.dstRoiSize.height <= 0) return ippStsSizeErr;
  // Written so that NaN fails too.
  if (!(a.xFactor > 0.0) || !(a.yFactor > 0.0)) return ippStsResizeFactorErr;
  return ippStsNoErr;
}

/// Small sources cannot feed the wider kernels: Lanczos needs 8 pixels each
/// way, cubic 4, linear 2.
int reducedInterpolation(int interpolation, IppiSize srcSize) {
  const int smallest = srcSize.width < srcSize.height ? srcSize.width : srcSize.height;
  if (interpolation == IPPI_INTER_LANCZOS && smallest < 8) interpolation = IPPI_INTER_CUBIC;
  if (interpolation == IPPI_INTER_CUBIC && smallest < 4) interpolation = IPPI_INTER_LINEAR;
  if (smallest < 2) interpolation = IPPI_INTER_NN;
  return interpolation;
}

/// The rectangle's extent along one axis, cut at the image's edge.
int clippedLength(int origin, int length, int imageLength) {
  const std::int64_t end = static_cast<std::int64_t>(origin) + length;
  return end > imageLength ? imageLength - origin : length;
}

/// Destination pixels along one axis for a source length and factor, or 0
/// when the result would be below half a pixel. A factor too large for the
/// int range simply fills the available length.
int destinationLength(double exactLength, int available) {
  const double tolerant = exactLength + kIndexTolerance;
  if (tolerant >= available) return available;
  const int length = static_cast<int>(tolerant);
  if (length >= 1) return length;
  return tolerant < 0.5 ? 0 : 1;
}

/// Builds the job of a checked call; ippStsResizeNoOperationErr when the
/// result would be empty.
IppStatus prepareJob(const Arguments& a, int channels, Job& job) {
  const int width = clippedLength(a.srcRoi.x, a.srcRoi.width, a.srcSize.width);
  const int height = clippedLength(a.srcRoi.y, a.srcRoi.height, a.srcSize.height);
  job.exactWidth = width * a.xFactor;
  job.exactHeight = height * a.yFactor;
  job.dstWidth = destinationLength(job.exactWidth, a.dstRoiSize.width);
  job.dstHeight = destinationLength(job.exactHeight, a.dstRoiSize.height);
  if (job.dstWidth == 0 || job.dstHeight == 0) return ippStsResizeNoOperationErr;
  job.src = a.src;
  job.srcStep = a.srcStep;
  job.srcSize = a.srcSize;
  job.roi = {a.srcRoi.x, a.srcRoi.y, width, height};
  job.dst = a.dst;
  job.dstStep = a.dstStep;
  job.xFactor = a.xFactor;
  job.yFactor = a.yFactor;
  job.channels = channels;
  return ippStsNoErr;
}

IppStatus runKernel(int interpolation, const Job& job, const RowRoutines& routines) {
  switch (interpolation) {
    case IPPI_INTER_NN: return resizeNearest(job, routines.nearest);
    case IPPI_INTER_LINEAR: return resizeLinear(job, routines.linear);
    case IPPI_INTER_CUBIC: return resizeCubic(job, routines.cubic);
    default: return resizeLanczos(job, routines.lanczos);
  }
}

}  // namespace

/// Supersampling only reduces; asked to enlarge it falls to the general
/// routine, whose mode check rejects it.
IppStatus resize(const Arguments& a, int channels, const RowRoutines& routines) {
  const bool supersample =
      a.interpolation == IPPI_INTER_SUPER && a.xFactor <= 1.0 && a.yFactor <= 1.0;
  if (const IppStatus status = checkImagesAndFactors(a); status != ippStsNoErr) return status;
  if (!supersample && !isSupportedInterpolation(a.interpolation)) return ippStsInterpolationErr;
  // After the defined checks, so every case they decide keeps its status: a
  // step of 0 or below would send rows onto or before the first one.
  if (a.srcStep < 1 || a.dstStep < 1) return ippStsStepErr;
  Job job{};
  if (const IppStatus status = prepareJob(a, channels, job); status != ippStsNoErr) return status;
  if (supersample) return resizeSuper(job);
  return runKernel(reducedInterpolation(a.interpolation, a.srcSize), job, routines);
}

RowRoutines genericRowRoutines() {
  return {genericNearestRoutines(), genericLinearRoutines(), genericCubicRoutines(), genericLanczosRoutines()};
}

}  // namespace fc::primitives::resize

FC_DEFINE_RESIZE_ENTRIES(px, fc::primitives::resize::genericRowRoutines())
