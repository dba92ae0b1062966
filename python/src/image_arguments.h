// image_arguments.h - NumPy arrays as the images of the primitives.
//
// An image is a uint8 array of shape (H, W) (one channel) or (H, W, 3)
// (three interleaved channels) whose pixels are packed within a row; rows may
// lie any positive distance apart, so a slice of a larger array is a region
// of it in place. Sources in another layout are copied into a packed array;
// destinations (`out=`) must already have the layout, since the primitive
// writes into them where they lie.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "dispatch/Fcimagedefs.h"

namespace fcpy {

namespace py = pybind11;

/// Where an image's pixels lie: top-left pixel, size, row distance, channels.
struct TImageView {
  Ipp8u* data = nullptr;
  int width = 0;
  int height = 0;
  int step = 1;
  int channels = 3;

  IppiSize Size() const { return {width, height}; }
  int RowBytes() const { return width * channels; }
  /// The view of the pixel at (x, y) onwards, `width` x `height` pixels.
  TImageView Region(int x, int y, int w, int h) const;
};

/// Which channel counts an argument accepts: 1, 3 or either.
enum class TChannels { One = 1, Three = 3, Either = 0 };

/// A source image and the array that holds its pixels (the caller's array,
/// or a packed copy of it).
struct TSource {
  py::array array;
  TImageView view;
};

/// Checks `object` as a source image: TypeError for another type or dtype,
/// ValueError for another shape or channel count. `what` names the argument.
TSource SourceImage(py::handle object, const char* what, TChannels allowed);

/// A destination: `out` when given (checked for dtype, writability, layout
/// and the expected shape), else a new array of that shape, zero-filled when
/// `zeroed` (for primitives that write only part of their destination).
/// `result` receives the array to return.
TImageView Destination(py::handle out, int height, int width, int channels, bool zeroed, py::object& result);

/// A new packed image array.
py::array NewImage(int height, int width, int channels);
/// The view of an array made by NewImage (or checked as a destination).
TImageView ViewOfPacked(py::array& array);

/// True when the two views touch any common byte.
bool Overlap(const TImageView& a, const TImageView& b);
/// True when both views are the same pixels in the same layout.
bool SameImage(const TImageView& a, const TImageView& b);
/// A packed copy of a source, for a destination that overlaps it.
TSource PackedCopy(const TImageView& view);

/// How far a neighbourhood filter's window reaches past the pixel it writes.
struct TReach {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

/// What a neighbourhood filter reads beyond the source's edge:
///   Replicate  edge pixels repeated; the result has the source's size
///   None       nothing: the source includes the border, and the result is
///              smaller by the window's reach
enum class TBorder { Replicate, None };
TBorder ParseBorder(const std::string& text);

/// The region a filter reads with `reach` around the pixels it writes: for
/// Replicate a padded copy of `source`, for None the inside of `source`
/// (ValueError when the source is no larger than the window). The returned
/// view starts at the first written pixel's source pixel.
TSource FilterSource(const TSource& source, TReach reach, TBorder border);

}  // namespace fcpy
