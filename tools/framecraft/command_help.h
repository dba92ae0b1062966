// command_help.h - the tool's help for one command (`framecraft help run`).
#pragma once

#include <string_view>

namespace fc::tool {

/// What `command` does, its arguments and every option it takes; EUsageError
/// for a command the tool does not have.
std::string_view CommandHelp(std::string_view command);

}  // namespace fc::tool
