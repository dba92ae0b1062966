// property_values.h - published properties as Python values, and the
// description of a component class as a dict.
#pragma once

#include <pybind11/pybind11.h>

#include "platform/runtime/properties.h"

namespace fcpy {

namespace py = pybind11;

/// A property's value: int, float, bool or str for scalars (an enumeration
/// as its identifier), a dict of the scalar values for a sub-object, a list
/// of such dicts for a collection.
py::object PropertyToPython(const fc::TPropertyTarget& target);

/// Sets a property from a Python value: a scalar from a value of its kind
/// or from text (an enumeration from its identifier or ordinal); a
/// sub-object from a tuple (its scalar properties in publishing order, as
/// OutputSize=(640, 360)) or a dict by name. EFCError or TypeError when the
/// value does not fit.
void PropertyFromPython(const fc::TPropertyTarget& target, py::handle value);

/// {"class", "parent", "properties": {path: {...}}, "pins": {path: direction}}
/// of a registered class; EFCError for an unknown one.
py::dict DescribeClass(const std::string& className);

}  // namespace fcpy
