// status_errors.h - primitive statuses as Python exceptions and warnings.
#pragma once

#include <pybind11/pybind11.h>

#include "dispatch/Fcimagedefs.h"

namespace fcpy {

/// Raises framecraft.PrimitiveError for a negative status and issues a
/// framecraft.PrimitiveWarning for a positive one; `entry` names the call.
void CheckStatus(const char* entry, IppStatus status);

/// framecraft.Error with `message` (errors of components and pipelines).
[[noreturn]] void RaiseError(const std::string& message);

}  // namespace fcpy
