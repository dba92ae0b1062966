#include "status_errors.h"

#include <string>

#include "contracts/video/failure_policy.h"

namespace py = pybind11;

namespace fcpy {

namespace {

// The exception classes live in framecraft/_errors.py, imported by the
// package before the extension.
py::object ErrorClass(const char* name) { return py::module_::import("framecraft._errors").attr(name); }

}  // namespace

void CheckStatus(const char* entry, IppStatus status) {
  if (status == ippStsNoErr) return;
  const std::string name = fc::IppStatusName(status);
  const std::string message = std::string(entry) + ": " + name + " (" + std::to_string(status) + ")";
  if (status < 0) {
    py::object error = ErrorClass("PrimitiveError")(message, name, status);
    PyErr_SetObject(error.get_type().ptr(), error.ptr());
    throw py::error_already_set();
  }
  py::object warning = ErrorClass("PrimitiveWarning")(message, name, status);
  // Warned as an instance, so handlers see its name and status; a warnings
  // filter set to "error" raises it from here.
  py::module_::import("warnings").attr("warn")(warning, py::arg("stacklevel") = 2);
}

void RaiseError(const std::string& message) {
  py::object error = ErrorClass("Error")(message);
  PyErr_SetObject(error.get_type().ptr(), error.ptr());
  throw py::error_already_set();
}

}  // namespace fcpy
