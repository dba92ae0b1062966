// region_walk.h - argument checks and row walking shared by the helper
// primitives of the base video package. Internal to the package.
#pragma once

#include <cstddef>
#include <initializer_list>

#include "dispatch/Fcimagedefs.h"

namespace fc::helpers {

/// One image of a call: its first byte, its step and the bytes of one of its
/// region's rows.
struct ImageArg {
  const void* data;
  int step;
  long long rowBytes;
};

/// Checks every image of a call in the order null pointers (-8), region size
/// (-6), steps below 1 (-14), steps shorter than a row of the region (-37).
inline IppStatus checkImages(std::initializer_list<ImageArg> images, IppiSize roi) {
  for (const ImageArg& image : images)
    if (image.data == nullptr) return ippStsNullPtrErr;
  if (roi.width <= 0 || roi.height <= 0) return ippStsSizeErr;
  for (const ImageArg& image : images)
    if (image.step < 1) return ippStsStepErr;
  for (const ImageArg& image : images)
    if (image.step < image.rowBytes) return ippStsStrideErr;
  return ippStsNoErr;
}

/// Address of row y of an image whose rows lie `step` bytes apart.
template <typename Byte>
Byte* rowAt(Byte* image, int step, int y) {
  return image + static_cast<std::ptrdiff_t>(step) * y;
}

/// How to walk a region: `rows` rows of `units` units (bytes or pixels)
/// each. When every image's rows lie exactly one region row apart, the
/// region is one long row.
struct RowShape {
  std::size_t units;
  int rows;
};

inline RowShape rowShape(IppiSize roi, std::size_t unitsPerRow, std::initializer_list<ImageArg> images) {
  for (const ImageArg& image : images)
    if (image.step != image.rowBytes) return {unitsPerRow, roi.height};
  return {unitsPerRow * static_cast<std::size_t>(roi.height), 1};
}

/// Runs row(src1Row, src2Row, dstRow, bytes) over a two-source region of
/// `channels` bytes per pixel, after the checks.
template <typename Row>
IppStatus twoSourceRegion(const Ipp8u* src1, int src1Step, const Ipp8u* src2, int src2Step, Ipp8u* dst, int dstStep,
                          IppiSize roi, int channels, Row row) {
  const long long rowBytes = static_cast<long long>(roi.width) * channels;
  const std::initializer_list<ImageArg> images = {
      {src1, src1Step, rowBytes}, {src2, src2Step, rowBytes}, {dst, dstStep, rowBytes}};
  if (const IppStatus status = checkImages(images, roi)) return status;
  const RowShape shape = rowShape(roi, static_cast<std::size_t>(rowBytes), images);
  for (int y = 0; y < shape.rows; ++y)
    row(rowAt(src1, src1Step, y), rowAt(src2, src2Step, y), rowAt(dst, dstStep, y), shape.units);
  return ippStsNoErr;
}

}  // namespace fc::helpers
