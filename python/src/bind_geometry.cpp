// The geometric primitives: resize, rotate, shear, perspective and bilinear
// warps, and the helpers that compute their coefficients.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>

#include <pybind11/numpy.h>

#include "bindings.h"
#include "entry_variants.h"
#include "primitive_call.h"
#include "value_arguments.h"

namespace fcpy {

namespace {

constexpr const char* kGeometricArgumentsDoc =
    "src: uint8 array (H, W) or (H, W, 3); size: (width, height) of a new destination, src's size by default; "
    "interpolation: 'nearest', 'linear' or 'cubic'; smooth_edge: blend the edges of the mapped image; "
    "src_roi / dst_roi: (x, y, width, height) rectangles that clip the source and the destination (the whole "
    "images by default); out: destination array to write into (its pixels outside the mapped image are kept; "
    "a new destination starts black).";

TFCImageRect WholeImage(const TImageView& view) { return {0, 0, view.width, view.height}; }

// The destination rectangle must lie in the destination array: the
// primitives know only its top-left pixel and step.
TFCImageRect DestinationRect(py::handle dstRoi, const TImageView& destination) {
  if (dstRoi.is_none()) return WholeImage(destination);
  const TFCImageRect rect = RectArgument(dstRoi, "dst_roi");
  const bool checkedByPrimitive = rect.x < 0 || rect.y < 0 || rect.width < 1 || rect.height < 1;
  if (!checkedByPrimitive && (static_cast<long long>(rect.x) + rect.width > destination.width ||
                              static_cast<long long>(rect.y) + rect.height > destination.height))
    throw py::value_error("dst_roi reaches outside the destination (" + std::to_string(destination.width) + "x" +
                          std::to_string(destination.height) + ")");
  return rect;
}

// Source and destination of a geometric primitive (the geometric argument
// list); the destination never shares bytes with the source.
struct TGeometricImages {
  TSource source;
  TImageView destination;
  py::object result;
  TFCImageRect srcRoi{};
  TFCImageRect dstRoi{};
};

TGeometricImages GeometricImages(py::handle src, py::handle size, py::handle srcRoi, py::handle dstRoi,
                                 py::handle out) {
  TGeometricImages images{SourceImage(src, "src", TChannels::Either), {}, py::none()};
  const TImageView& in = images.source.view;
  IppiSize dstSize = in.Size();
  if (!out.is_none() && size.is_none() && py::isinstance<py::array>(out) &&
      py::reinterpret_borrow<py::array>(out).ndim() >= 2) {
    const py::array array = py::reinterpret_borrow<py::array>(out);
    dstSize = {static_cast<int>(array.shape(1)), static_cast<int>(array.shape(0))};
  } else if (!size.is_none()) {
    dstSize = SizeArgument(size, "size");
    if (dstSize.width < 0 || dstSize.height < 0) throw py::value_error("size must not be negative");
  }
  images.destination = Destination(out, dstSize.height, dstSize.width, in.channels, true, images.result);
  if (Overlap(in, images.destination)) images.source = PackedCopy(in);
  images.srcRoi = srcRoi.is_none() ? WholeImage(images.source.view) : RectArgument(srcRoi, "src_roi");
  images.dstRoi = DestinationRect(dstRoi, images.destination);
  return images;
}

template <class Fn, class... Extra>
py::object Geometric(const TEntry<Fn>& entry, TGeometricImages& images, Extra... extra) {
  const TImageView& s = images.source.view;
  const TImageView& d = images.destination;
  RunPrimitive(entry.name, [&] {
    return entry.Target()(s.data, s.Size(), s.step, images.srcRoi, d.data, d.step, images.dstRoi, extra...);
  });
  return images.result;
}

// Columns (or rows) a resize writes: the rule of the primitive's clipping.
int ResizeExtent(int clipped, double factor, int limit) {
  const double exact = clipped * factor + 0.0000001;
  if (!(exact < limit)) return limit;
  return static_cast<int>(exact);
}

int Clipped(int origin, int length, int imageLength) {
  return origin >= 0 && origin < imageLength ? std::min(length, imageLength - origin) : length;
}

// Zeroes the destination outside its top-left written x written pixels.
void BlackenUnwritten(const TImageView& d, int writtenWidth, int writtenHeight) {
  for (int y = 0; y < d.height; ++y) {
    Ipp8u* row = d.data + static_cast<std::ptrdiff_t>(y) * d.step;
    const int from = y < writtenHeight ? writtenWidth * d.channels : 0;
    std::memset(row + from, 0, static_cast<std::size_t>(d.RowBytes() - from));
  }
}

py::object Resize(py::handle src, py::handle size, py::handle fx, py::handle fy, py::handle interpolation,
                  py::handle srcRoiArgument, py::handle out) {
  TSource source = SourceImage(src, "src", TChannels::Either);
  const TImageView& in = source.view;
  const TFCImageRect srcRoi =
      srcRoiArgument.is_none() ? WholeImage(in) : RectArgument(srcRoiArgument, "src_roi");
  const int w = Clipped(srcRoi.x, srcRoi.width, in.width);
  const int h = Clipped(srcRoi.y, srcRoi.height, in.height);
  const bool byFactors = !fx.is_none() || !fy.is_none();
  if (byFactors && (fx.is_none() || fy.is_none())) throw py::value_error("give both fx and fy");
  if (byFactors && !size.is_none()) throw py::value_error("give size or fx and fy, not both");
  IppiSize dstSize{};
  double xFactor = 1.0, yFactor = 1.0;
  if (byFactors) {
    xFactor = fx.cast<double>();
    yFactor = fy.cast<double>();
    dstSize = {std::max(1, ResizeExtent(w, xFactor, INT_MAX / 3)), std::max(1, ResizeExtent(h, yFactor, INT_MAX))};
  } else {
    if (size.is_none() && (out.is_none() || !py::isinstance<py::array>(out)))
      throw py::value_error("give the destination size, fx and fy, or out");
    if (size.is_none()) {
      const py::array array = py::reinterpret_borrow<py::array>(out);
      if (array.ndim() < 2) throw py::value_error("out must have shape (H, W) or (H, W, 3)");
      dstSize = {static_cast<int>(array.shape(1)), static_cast<int>(array.shape(0))};
    } else {
      dstSize = SizeArgument(size, "size");
    }
    if (dstSize.width < 0 || dstSize.height < 0) throw py::value_error("size must not be negative");
    // Factors from the sizes; a source rectangle the primitive refuses keeps 1.0.
    if (w > 0) xFactor = static_cast<double>(dstSize.width) / w;
    if (h > 0) yFactor = static_cast<double>(dstSize.height) / h;
  }
  py::object result;
  const TImageView d = Destination(out, dstSize.height, dstSize.width, in.channels, false, result);
  if (Overlap(in, d)) source = PackedCopy(in);
  const int mode = InterpolationArgument(interpolation, false);
  const auto& entry = ByChannels(in.channels, kEntry_ippiResize_8u_C3R, kEntry_ippiResize_8u_C1R);
  const TImageView& s = source.view;
  const IppStatus status = RunPrimitive(entry.name, [&] {
    return entry.Target()(s.data, s.Size(), s.step, srcRoi, d.data, d.step, d.Size(), xFactor, yFactor, mode);
  });
  // A new destination the primitive did not fill (a warning, or fewer
  // pixels than asked) is returned black around what it wrote.
  if (out.is_none() &&
      (status != ippStsNoErr || ResizeExtent(w, xFactor, d.width) < d.width ||
       ResizeExtent(h, yFactor, d.height) < d.height))
    BlackenUnwritten(d, status == ippStsNoErr ? ResizeExtent(w, xFactor, d.width) : 0,
                     status == ippStsNoErr ? ResizeExtent(h, yFactor, d.height) : 0);
  return result;
}

std::array<double, 2> RotateShift(double xCenter, double yCenter, double angle) {
  std::array<double, 2> shift{};
  const auto& entry = kEntry_ippiGetRotateShift;
  RunPrimitive(entry.name, [&] { return entry.Target()(xCenter, yCenter, angle, &shift[0], &shift[1]); });
  return shift;
}

template <std::size_t Rows, std::size_t Columns>
py::array_t<double> MatrixArray(const double (&values)[Rows][Columns]) {
  py::array_t<double> array({Rows, Columns});
  std::memcpy(array.mutable_data(), values, sizeof values);
  return array;
}

void BindResize(py::module_& m) {
  m.def("resize", &Resize, py::arg("src"), py::arg("size") = py::none(), py::kw_only(), py::arg("fx") = py::none(),
        py::arg("fy") = py::none(), py::arg("interpolation") = "linear", py::arg("src_roi") = py::none(),
        py::arg("out") = py::none(),
        "Scales src (or its src_roi rectangle) to size=(width, height), or by the factors fx and fy "
        "(ippiResize_8u_C3R, ippiResize_8u_C1R).\n\ninterpolation: 'nearest', 'linear', 'cubic', 'super' "
        "(supersampling, shrinking only) or 'lanczos'. Pixels around src_roi inside src are read as neighbours. "
        "out: destination to write into; without size its shape gives the size.");
}

void BindRotateShear(py::module_& m) {
  m.def(
      "rotate",
      [](py::handle src, double angle, py::handle center, py::handle shift, py::handle size,
         py::handle interpolation, bool smoothEdge, py::handle srcRoi, py::handle dstRoi, py::handle out) {
        TGeometricImages images = GeometricImages(src, size, srcRoi, dstRoi, out);
        auto [xShift, yShift] = PairArgument(shift, "shift");
        if (!center.is_none()) {
          const auto [xCenter, yCenter] = PairArgument(center, "center");
          const auto turn = RotateShift(xCenter, yCenter, angle);
          xShift += turn[0];
          yShift += turn[1];
        }
        const int mode = InterpolationArgument(interpolation, smoothEdge);
        return Geometric(ByChannels(images.source.view.channels, kEntry_ippiRotate_8u_C3R, kEntry_ippiRotate_8u_C1R),
                         images, angle, xShift, yShift, mode);
      },
      py::arg("src"), py::arg("angle"), py::kw_only(), py::arg("center") = py::none(),
      py::arg("shift") = py::make_tuple(0.0, 0.0), py::arg("size") = py::none(), py::arg("interpolation") = "linear",
      py::arg("smooth_edge") = false, py::arg("src_roi") = py::none(), py::arg("dst_roi") = py::none(),
      py::arg("out") = py::none(),
      (std::string("Rotates src by angle degrees (counter-clockwise on screen) and shifts it by shift=(x, y) "
                   "(ippiRotate_8u_C3R, ippiRotate_8u_C1R). With center=(x, y) the rotation turns about that "
                   "point (shift is added).\n\n") +
       kGeometricArgumentsDoc)
          .c_str());
  m.def(
      "shear",
      [](py::handle src, py::handle shear, py::handle shift, py::handle size, py::handle interpolation,
         bool smoothEdge, py::handle srcRoi, py::handle dstRoi, py::handle out) {
        TGeometricImages images = GeometricImages(src, size, srcRoi, dstRoi, out);
        const auto [xShear, yShear] = PairArgument(shear, "shear");
        const auto [xShift, yShift] = PairArgument(shift, "shift");
        const int mode = InterpolationArgument(interpolation, smoothEdge);
        return Geometric(ByChannels(images.source.view.channels, kEntry_ippiShear_8u_C3R, kEntry_ippiShear_8u_C1R),
                         images, xShear, yShear, xShift, yShift, mode);
      },
      py::arg("src"), py::arg("shear"), py::kw_only(), py::arg("shift") = py::make_tuple(0.0, 0.0),
      py::arg("size") = py::none(), py::arg("interpolation") = "linear", py::arg("smooth_edge") = false,
      py::arg("src_roi") = py::none(), py::arg("dst_roi") = py::none(), py::arg("out") = py::none(),
      (std::string("Shears src by shear=(x, y) and shifts it by shift=(x, y): x' = x + sx*y + dx, "
                   "y' = sy*x + y + dy (ippiShear_8u_C3R, ippiShear_8u_C1R).\n\n") +
       kGeometricArgumentsDoc)
          .c_str());
  m.def(
      "get_rotate_shift",
      [](double xCenter, double yCenter, double angle) {
        const auto shift = RotateShift(xCenter, yCenter, angle);
        return py::make_tuple(shift[0], shift[1]);
      },
      py::arg("x_center"), py::arg("y_center"), py::arg("angle"),
      "The shifts (x, y) that make rotate() turn by angle about (x_center, y_center) (ippiGetRotateShift).");
}

template <class Entry, std::size_t Rows, std::size_t Columns>
void BindWarp(py::module_& m, const char* name, const Entry& three, const Entry& one, const char* what) {
  const std::string doc = std::string(what) + " (" + three.name + ", " + one.name + ").\n\n" + kGeometricArgumentsDoc;
  m.def(
      name,
      [&three, &one](py::handle src, py::handle coeffs, py::handle size, py::handle interpolation, bool smoothEdge,
                     py::handle srcRoi, py::handle dstRoi, py::handle out) {
        const auto matrix = MatrixArgument<Rows, Columns>(coeffs, "coeffs");
        double values[Rows][Columns];
        for (std::size_t r = 0; r < Rows; ++r)
          for (std::size_t c = 0; c < Columns; ++c) values[r][c] = matrix[r][c];
        TGeometricImages images = GeometricImages(src, size, srcRoi, dstRoi, out);
        const int mode = InterpolationArgument(interpolation, smoothEdge);
        return Geometric(ByChannels(images.source.view.channels, three, one), images, values, mode);
      },
      py::arg("src"), py::arg("coeffs"), py::kw_only(), py::arg("size") = py::none(),
      py::arg("interpolation") = "linear", py::arg("smooth_edge") = false, py::arg("src_roi") = py::none(),
      py::arg("dst_roi") = py::none(), py::arg("out") = py::none(), doc.c_str());
}

template <class Entry, std::size_t Rows, std::size_t Columns>
void BindTransform(py::module_& m, const char* name, const Entry& entry, const char* what) {
  const std::string doc = std::string(what) + " (" + entry.name + ").\n\nsrc_roi: (x, y, width, height); quad: "
                          "4x2 corners (x, y) in the order top-left, top-right, bottom-right, bottom-left.";
  m.def(
      name,
      [&entry](py::handle srcRoi, py::handle quad) {
        const TFCImageRect rect = RectArgument(srcRoi, "src_roi");
        const auto corners = MatrixArgument<4, 2>(quad, "quad");
        double points[4][2];
        for (std::size_t i = 0; i < 4; ++i) points[i][0] = corners[i][0], points[i][1] = corners[i][1];
        double coeffs[Rows][Columns] = {};
        RunPrimitive(entry.name, [&] { return entry.Target()(rect, points, coeffs); });
        return MatrixArray(coeffs);
      },
      py::arg("src_roi"), py::arg("quad"), doc.c_str());
}

}  // namespace

void BindGeometry(py::module_& m) {
  BindResize(m);
  BindRotateShear(m);
  BindWarp<decltype(kEntry_ippiWarpPerspective_8u_C3R), 3, 3>(
      m, "warp_perspective", kEntry_ippiWarpPerspective_8u_C3R, kEntry_ippiWarpPerspective_8u_C1R,
      "Maps src through the perspective transform coeffs (3x3, source to destination)");
  BindWarp<decltype(kEntry_ippiWarpPerspectiveBack_8u_C3R), 3, 3>(
      m, "warp_perspective_back", kEntry_ippiWarpPerspectiveBack_8u_C3R, kEntry_ippiWarpPerspectiveBack_8u_C1R,
      "Maps src through the inverse of the perspective transform coeffs (3x3, destination to source)");
  BindWarp<decltype(kEntry_ippiWarpBilinear_8u_C3R), 2, 4>(
      m, "warp_bilinear", kEntry_ippiWarpBilinear_8u_C3R, kEntry_ippiWarpBilinear_8u_C1R,
      "Maps src through the bilinear transform coeffs (2x4, source to destination)");
  BindWarp<decltype(kEntry_ippiWarpBilinearBack_8u_C3R), 2, 4>(
      m, "warp_bilinear_back", kEntry_ippiWarpBilinearBack_8u_C3R, kEntry_ippiWarpBilinearBack_8u_C1R,
      "Maps src through the inverse of the bilinear transform coeffs (2x4, destination to source)");
  BindTransform<decltype(kEntry_ippiGetPerspectiveTransform), 3, 3>(
      m, "get_perspective_transform", kEntry_ippiGetPerspectiveTransform,
      "The 3x3 perspective coefficients that map the rectangle src_roi onto quad");
  BindTransform<decltype(kEntry_ippiGetBilinearTransform), 2, 4>(
      m, "get_bilinear_transform", kEntry_ippiGetBilinearTransform,
      "The 2x4 bilinear coefficients that map the rectangle src_roi onto quad");
}

}  // namespace fcpy
