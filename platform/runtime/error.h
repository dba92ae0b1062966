// error.h - the exception every component, sub-object and tool raises.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/runtime/components_api.h"

namespace fc {

/// Raised by components, the property registry and the tools. The message is
/// complete as it stands: where a component or property is at fault it is
/// named in the text (see `ForProperty`).
class FC_COMPONENTS_API EFCError : public std::runtime_error {
public:
  explicit EFCError(const std::string& message) : std::runtime_error(message) {}

  /// "<owner>.<property>: <message>", the form used for a bad property value.
  static EFCError ForProperty(std::string_view ownerPath, std::string_view property,
                              std::string_view message);
};

}  // namespace fc
