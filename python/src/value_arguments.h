// value_arguments.h - the non-image arguments of the primitives from Python
// values: sizes, points, rectangles, interpolation names, byte triples,
// coefficient matrices.
#pragma once

#include <array>
#include <string>

#include <pybind11/pybind11.h>

#include "dispatch/Fcimagedefs.h"

namespace fcpy {

namespace py = pybind11;

/// (width, height) or one int for a square.
IppiSize SizeArgument(py::handle value, const char* what);
/// (x, y).
IppiPoint PointArgument(py::handle value, const char* what);
/// (x, y, width, height).
TFCImageRect RectArgument(py::handle value, const char* what);
/// (x, y) of doubles.
std::array<double, 2> PairArgument(py::handle value, const char* what);

/// "nearest", "linear", "cubic", "super", "lanczos" or the constant's int
/// value; IPPI_SMOOTH_EDGE added when `smoothEdge`.
int InterpolationArgument(py::handle value, bool smoothEdge);

/// One byte for all three channels, or three.
std::array<Ipp8u, 3> ByteTripleArgument(py::handle value, const char* what);

/// Mask-size code of the fixed-kernel and cross or colour medians: 3 or 5
/// (or the codes 33 and 55 themselves); other values are passed on for the
/// primitive to refuse.
int MaskCodeArgument(int value);
/// Pixels the 3x3 (1) or 5x5 (2) mask reaches on each side; 0 for a code
/// the primitive refuses before reading.
int MaskCodeReach(int code);

/// A rows x columns matrix of doubles, from any nested sequence or array;
/// ValueError for another shape.
template <std::size_t Rows, std::size_t Columns>
std::array<std::array<double, Columns>, Rows> MatrixArgument(py::handle value, const char* what);

}  // namespace fcpy
