// framecraft_tool.h - the framecraft command-line tool: lists and describes
// the registered components, runs form files and the built-in demo.
#pragma once

#include <ostream>
#include <span>
#include <string>

#include "package/catalogue.h"

namespace fc::tool {

/// Where the tool writes, and whether `out` is a terminal (progress is shown
/// only there).
struct TToolOutput {
  std::ostream& out;
  std::ostream& err;
  bool terminal = false;
};

/// Runs the tool with the arguments after the program name against the
/// components of `catalogue`. Returns the exit status: 0 on success, 1 when
/// the work failed (the message, "framecraft: <file>:<line>: <message>" or
/// naming the component and property at fault, goes to `err`), 2 for a bad
/// command line (the usage follows the message).
int RunFramecraft(std::span<const std::string> args, const TFCCatalogue& catalogue, TToolOutput io);

}  // namespace fc::tool
