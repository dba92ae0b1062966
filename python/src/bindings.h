// bindings.h - the families of functions the extension module publishes.
#pragma once

#include <pybind11/pybind11.h>

namespace fcpy {

void BindGeometry(pybind11::module_& m);
void BindFilters(pybind11::module_& m);
void BindColorConversions(pybind11::module_& m);
void BindPointOperations(pybind11::module_& m);
void BindVariants(pybind11::module_& m);
void BindPipelines(pybind11::module_& m);

}  // namespace fcpy
