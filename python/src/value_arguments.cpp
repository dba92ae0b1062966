#include "value_arguments.h"

#include <pybind11/numpy.h>

namespace fcpy {

namespace {

py::sequence SequenceOf(py::handle value, std::size_t length, const char* what, const char* form) {
  if (!py::isinstance<py::sequence>(value) || py::isinstance<py::str>(value) || py::len(value) != length)
    throw py::value_error(std::string(what) + " must be " + form + ", not " + std::string(py::repr(value)));
  return py::reinterpret_borrow<py::sequence>(value);
}

int IntOf(py::handle value, const char* what) {
  if (!py::isinstance<py::int_>(value) && !py::hasattr(value, "__index__"))
    throw py::type_error(std::string(what) + " must hold integers, not " + std::string(py::repr(value)));
  return value.cast<int>();
}

}  // namespace

IppiSize SizeArgument(py::handle value, const char* what) {
  if (py::isinstance<py::int_>(value)) {
    const int side = value.cast<int>();
    return {side, side};
  }
  py::sequence pair = SequenceOf(value, 2, what, "(width, height)");
  return {IntOf(pair[0], what), IntOf(pair[1], what)};
}

IppiPoint PointArgument(py::handle value, const char* what) {
  py::sequence pair = SequenceOf(value, 2, what, "(x, y)");
  return {IntOf(pair[0], what), IntOf(pair[1], what)};
}

TFCImageRect RectArgument(py::handle value, const char* what) {
  py::sequence rect = SequenceOf(value, 4, what, "(x, y, width, height)");
  return {IntOf(rect[0], what), IntOf(rect[1], what), IntOf(rect[2], what), IntOf(rect[3], what)};
}

std::array<double, 2> PairArgument(py::handle value, const char* what) {
  py::sequence pair = SequenceOf(value, 2, what, "(x, y)");
  return {pair[0].cast<double>(), pair[1].cast<double>()};
}

int InterpolationArgument(py::handle value, bool smoothEdge) {
  int mode = 0;
  if (py::isinstance<py::str>(value)) {
    const std::string name = value.cast<std::string>();
    if (name == "nearest") mode = IPPI_INTER_NN;
    else if (name == "linear") mode = IPPI_INTER_LINEAR;
    else if (name == "cubic") mode = IPPI_INTER_CUBIC;
    else if (name == "super") mode = IPPI_INTER_SUPER;
    else if (name == "lanczos") mode = IPPI_INTER_LANCZOS;
    else
      throw py::value_error("interpolation must be 'nearest', 'linear', 'cubic', 'super' or 'lanczos', not '" +
                            name + "'");
  } else if (py::isinstance<py::int_>(value)) {
    mode = value.cast<int>();  // a constant's value; the primitive judges it
  } else {
    throw py::type_error("interpolation must be a name or an int, not " + std::string(py::repr(value)));
  }
  return smoothEdge ? (mode | IPPI_SMOOTH_EDGE) : mode;
}

std::array<Ipp8u, 3> ByteTripleArgument(py::handle value, const char* what) {
  auto byte = [what](py::handle item) {
    const int v = IntOf(item, what);
    if (v < 0 || v > 255) throw py::value_error(std::string(what) + " must hold bytes (0 to 255), not " + std::to_string(v));
    return static_cast<Ipp8u>(v);
  };
  if (py::isinstance<py::int_>(value)) {
    const Ipp8u v = byte(value);
    return {v, v, v};
  }
  py::sequence triple = SequenceOf(value, 3, what, "a byte or three bytes");
  return {byte(triple[0]), byte(triple[1]), byte(triple[2])};
}

int MaskCodeArgument(int value) {
  if (value == 3) return ippMskSize3x3;
  if (value == 5) return ippMskSize5x5;
  return value;
}

int MaskCodeReach(int code) {
  if (code == ippMskSize3x3) return 1;
  if (code == ippMskSize5x5) return 2;
  return 0;
}

template <std::size_t Rows, std::size_t Columns>
std::array<std::array<double, Columns>, Rows> MatrixArgument(py::handle value, const char* what) {
  auto matrix = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(value);
  if (!matrix || matrix.ndim() != 2 || matrix.shape(0) != static_cast<py::ssize_t>(Rows) ||
      matrix.shape(1) != static_cast<py::ssize_t>(Columns)) {
    PyErr_Clear();
    throw py::value_error(std::string(what) + " must be a " + std::to_string(Rows) + "x" + std::to_string(Columns) +
                          " matrix of numbers");
  }
  std::array<std::array<double, Columns>, Rows> result{};
  for (std::size_t r = 0; r < Rows; ++r)
    for (std::size_t c = 0; c < Columns; ++c) result[r][c] = matrix.at(r, c);
  return result;
}

template std::array<std::array<double, 3>, 3> MatrixArgument<3, 3>(py::handle, const char*);
template std::array<std::array<double, 4>, 2> MatrixArgument<2, 4>(py::handle, const char*);
template std::array<std::array<double, 4>, 3> MatrixArgument<3, 4>(py::handle, const char*);
template std::array<std::array<double, 2>, 4> MatrixArgument<4, 2>(py::handle, const char*);

}  // namespace fcpy
