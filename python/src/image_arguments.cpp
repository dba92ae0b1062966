#include "image_arguments.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

namespace fcpy {

namespace {

std::string TypeName(py::handle object) { return py::str(py::type::handle_of(object).attr("__name__")); }

void RequireUint8(py::handle object, const char* what) {
  if (!py::isinstance<py::array>(object))
    throw py::type_error(std::string(what) + " must be a numpy.ndarray of uint8, not " + TypeName(object));
  const py::dtype dtype = py::reinterpret_borrow<py::array>(object).dtype();
  if (dtype.kind() != 'u' || dtype.itemsize() != 1)
    throw py::type_error(std::string(what) + " must have dtype uint8, not " + std::string(py::str(py::handle(dtype))));
}

std::string ShapeText(const py::array& array) {
  std::string text = "(";
  for (py::ssize_t i = 0; i < array.ndim(); ++i) text += (i ? ", " : "") + std::to_string(array.shape(i));
  return text + (array.ndim() == 1 ? ",)" : ")");
}

// The channel count the shape stands for: 1 for (H, W), 3 for (H, W, 3).
int ChannelsOfShape(const py::array& array, const char* what, TChannels allowed) {
  int channels = 0;
  if (array.ndim() == 2) channels = 1;
  if (array.ndim() == 3 && array.shape(2) == 3) channels = 3;
  const char* expected = allowed == TChannels::One     ? "(H, W)"
                         : allowed == TChannels::Three ? "(H, W, 3)"
                                                       : "(H, W) or (H, W, 3)";
  if (channels == 0 || (allowed != TChannels::Either && channels != static_cast<int>(allowed)))
    throw py::value_error(std::string(what) + " must have shape " + expected + ", not " + ShapeText(array));
  if (array.shape(0) > INT_MAX || array.shape(1) > INT_MAX / 3)
    throw py::value_error(std::string(what) + " is too large for the primitives: " + ShapeText(array));
  return channels;
}

// The view of an array whose pixels are packed within rows and whose rows
// lie a positive int distance apart; false when it has another layout.
bool PackedView(py::array& array, int channels, bool writable, TImageView& view) {
  view.channels = channels;
  view.height = static_cast<int>(array.shape(0));
  view.width = static_cast<int>(array.shape(1));
  if (view.width == 0 || view.height == 0) {
    // No pixels: any layout will do, and the primitive refuses the size
    // without touching them; it must not see a null pointer instead.
    static Ipp8u noPixels;
    view.step = std::max(view.RowBytes(), 1);
    view.data = &noPixels;
    return true;
  }
  if (channels == 3 && (array.strides(2) != 1 || (view.width > 1 && array.strides(1) != 3))) return false;
  if (channels == 1 && view.width > 1 && array.strides(1) != 1) return false;
  const py::ssize_t rowStride = array.strides(0);
  if (view.height > 1) {
    // Rows closer than a row's bytes would overlap; a destination's rows
    // must not, a source's may not be read backwards.
    if (rowStride < std::max<py::ssize_t>(view.RowBytes(), 1) || rowStride > INT_MAX) return false;
    view.step = static_cast<int>(rowStride);
  } else {
    view.step = std::max(view.RowBytes(), 1);
  }
  view.data = static_cast<Ipp8u*>(writable ? array.mutable_data() : const_cast<void*>(array.data()));
  return true;
}

// [first, last) bytes a view covers.
std::pair<const Ipp8u*, const Ipp8u*> Extent(const TImageView& v) {
  if (v.width <= 0 || v.height <= 0) return {v.data, v.data};
  return {v.data, v.data + static_cast<std::ptrdiff_t>(v.height - 1) * v.step + v.RowBytes()};
}

void CopyRows(const TImageView& from, const TImageView& to) {
  for (int y = 0; y < from.height; ++y)
    std::memcpy(to.data + static_cast<std::ptrdiff_t>(y) * to.step,
                from.data + static_cast<std::ptrdiff_t>(y) * from.step, static_cast<std::size_t>(from.RowBytes()));
}

// Fills the border of `padded` around its inside (at reach.left, reach.top)
// by repeating the inside's edge pixels.
void ReplicateEdges(const TImageView& padded, const TReach& reach, int insideWidth, int insideHeight) {
  const int c = padded.channels;
  for (int y = reach.top; y < reach.top + insideHeight; ++y) {
    Ipp8u* row = padded.data + static_cast<std::ptrdiff_t>(y) * padded.step;
    for (int x = 0; x < reach.left; ++x) std::memcpy(row + x * c, row + reach.left * c, c);
    const int lastInside = reach.left + insideWidth - 1;
    for (int x = lastInside + 1; x < padded.width; ++x) std::memcpy(row + x * c, row + lastInside * c, c);
  }
  const std::size_t rowBytes = static_cast<std::size_t>(padded.RowBytes());
  const Ipp8u* firstInside = padded.data + static_cast<std::ptrdiff_t>(reach.top) * padded.step;
  const Ipp8u* lastInside = firstInside + static_cast<std::ptrdiff_t>(insideHeight - 1) * padded.step;
  for (int y = 0; y < reach.top; ++y)
    std::memcpy(padded.data + static_cast<std::ptrdiff_t>(y) * padded.step, firstInside, rowBytes);
  for (int y = reach.top + insideHeight; y < padded.height; ++y)
    std::memcpy(padded.data + static_cast<std::ptrdiff_t>(y) * padded.step, lastInside, rowBytes);
}

}  // namespace

TImageView TImageView::Region(int x, int y, int w, int h) const {
  TImageView region = *this;
  region.data = data + static_cast<std::ptrdiff_t>(y) * step + static_cast<std::ptrdiff_t>(x) * channels;
  region.width = w;
  region.height = h;
  return region;
}

py::array NewImage(int height, int width, int channels) {
  if (channels == 1) return py::array_t<Ipp8u>({height, width});
  return py::array_t<Ipp8u>({height, width, channels});
}

TImageView ViewOfPacked(py::array& array) {
  TImageView view;
  PackedView(array, array.ndim() == 3 ? static_cast<int>(array.shape(2)) : 1, true, view);
  return view;
}

TSource SourceImage(py::handle object, const char* what, TChannels allowed) {
  RequireUint8(object, what);
  TSource source{py::reinterpret_borrow<py::array>(object), {}};
  const int channels = ChannelsOfShape(source.array, what, allowed);
  if (PackedView(source.array, channels, false, source.view)) return source;
  // Another layout (a column slice, reversed rows, a transposed view ...):
  // the primitive reads a packed copy.
  source.array = py::array_t<Ipp8u, py::array::c_style | py::array::forcecast>::ensure(source.array);
  PackedView(source.array, channels, false, source.view);
  return source;
}

TImageView Destination(py::handle out, int height, int width, int channels, bool zeroed, py::object& result) {
  if (out.is_none()) {
    py::array array = NewImage(height, width, channels);
    if (zeroed) std::memset(array.mutable_data(), 0, static_cast<std::size_t>(array.nbytes()));
    result = array;
    return ViewOfPacked(array);
  }
  RequireUint8(out, "out");
  py::array array = py::reinterpret_borrow<py::array>(out);
  const int outChannels = ChannelsOfShape(array, "out", channels == 1 ? TChannels::One : TChannels::Three);
  if (array.shape(0) != height || array.shape(1) != width)
    throw py::value_error("out must have shape " +
                          std::string(channels == 1 ? "(" + std::to_string(height) + ", " + std::to_string(width) + ")"
                                                    : "(" + std::to_string(height) + ", " + std::to_string(width) +
                                                          ", 3)") +
                          ", not " + ShapeText(array));
  if (!array.writeable()) throw py::value_error("out is read-only");
  TImageView view;
  if (!PackedView(array, outChannels, true, view))
    throw py::value_error("out must have its pixels packed within rows and rows apart by a positive step "
                          "(a slice of rows and columns of a C-ordered array is)");
  result = array;
  return view;
}

bool Overlap(const TImageView& a, const TImageView& b) {
  const auto [aBegin, aEnd] = Extent(a);
  const auto [bBegin, bEnd] = Extent(b);
  return aBegin < bEnd && bBegin < aEnd;
}

bool SameImage(const TImageView& a, const TImageView& b) {
  return a.data == b.data && a.step == b.step && a.width == b.width && a.height == b.height &&
         a.channels == b.channels;
}

TSource PackedCopy(const TImageView& view) {
  TSource copy{NewImage(view.height, view.width, view.channels), {}};
  copy.view = ViewOfPacked(copy.array);
  CopyRows(view, copy.view);
  return copy;
}

TBorder ParseBorder(const std::string& text) {
  if (text == "replicate") return TBorder::Replicate;
  if (text == "none") return TBorder::None;
  throw py::value_error("border must be 'replicate' or 'none', not '" + text + "'");
}

TSource FilterSource(const TSource& source, TReach reach, TBorder border) {
  const TImageView& in = source.view;
  if (border == TBorder::None) {
    const int width = in.width - reach.left - reach.right;
    const int height = in.height - reach.top - reach.bottom;
    if (width < 1 || height < 1)
      throw py::value_error("with border='none' the source (" + std::to_string(in.width) + "x" +
                            std::to_string(in.height) + ") must be larger than the filter's window reach (" +
                            std::to_string(reach.left + reach.right) + "x" + std::to_string(reach.top + reach.bottom) +
                            ")");
    return {source.array, in.Region(reach.left, reach.top, width, height)};
  }
  if (in.width < 1 || in.height < 1) return source;  // the primitive reports the empty region
  TSource padded{NewImage(in.height + reach.top + reach.bottom, in.width + reach.left + reach.right, in.channels), {}};
  TImageView all = ViewOfPacked(padded.array);
  CopyRows(in, all.Region(reach.left, reach.top, in.width, in.height));
  ReplicateEdges(all, reach, in.width, in.height);
  padded.view = all.Region(reach.left, reach.top, in.width, in.height);
  return padded;
}

}  // namespace fcpy
