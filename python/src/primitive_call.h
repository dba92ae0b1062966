// primitive_call.h - one primitive call from Python: the GIL released around
// it, its status turned into an exception or a warning.
#pragma once

#include <pybind11/pybind11.h>

#include "dispatch/Fcimagedefs.h"
#include "image_arguments.h"
#include "status_errors.h"

namespace fcpy {

/// Runs `call` (returning an IppStatus) without the GIL, then checks the
/// status in the name of `entry`; returns it when it is no error.
template <class Call>
IppStatus RunPrimitive(const char* entry, Call&& call) {
  IppStatus status;
  {
    py::gil_scoped_release release;
    status = call();
  }
  CheckStatus(entry, status);
  return status;
}

/// Source and destination of a primitive that writes each pixel from the
/// source pixel at the same place (point operations, colour conversions).
struct TPointImages {
  TSource source;
  TImageView destination;
  py::object result;
  bool inPlace = false;  ///< destination and source are the same pixels
};

/// Checks `src` and `out` (a new array of the source's shape when None). A
/// destination that overlaps the source reads a packed copy of the source,
/// unless it is the very same pixels and the primitive works in place
/// (`sameAllowed`).
inline TPointImages PointImages(py::handle src, py::handle out, TChannels allowed, bool sameAllowed) {
  TPointImages images{SourceImage(src, "src", allowed), {}, py::none()};
  const TImageView& in = images.source.view;
  images.destination = Destination(out, in.height, in.width, in.channels, false, images.result);
  images.inPlace = sameAllowed && SameImage(in, images.destination);
  if (!images.inPlace && Overlap(in, images.destination)) images.source = PackedCopy(in);
  return images;
}

/// Entry of the three-channel or one-channel form, by the image's channels.
template <class Entry>
const Entry& ByChannels(int channels, const Entry& three, const Entry& one) {
  return channels == 3 ? three : one;
}

}  // namespace fcpy
