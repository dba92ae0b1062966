// pin_path.h - a published pin of a component by its dotted path, as the
// command-line tool and the Python module name pins: "OutputPin",
// "OutputPins.2" (also written "OutputPins[2]") in a pin list.
#pragma once

#include <string_view>

#include "contracts/pins/pin.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// The pin at `path` of `component`; EFCError naming the component and the
/// path when there is none, or when the path names a property that is no pin.
FC_COMPONENTS_API TPMPin& PinAtPath(TComponent& component, std::string_view path);

}  // namespace fc
