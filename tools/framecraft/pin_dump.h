// pin_dump.h - what the tool attaches beside a pipeline's pin (--dump) to
// write what reaches it into a directory.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "contracts/pins/pin.h"

namespace fc::tool {

/// A dump of one pin's data. Write failures are kept, not thrown into the
/// pipeline; the runner asks `Failure()` after each step.
class TPinDump {
public:
  virtual ~TPinDump() = default;
  /// "Component.Pin" as the user named it.
  virtual const std::string& Label() const = 0;
  virtual const std::filesystem::path& Directory() const = 0;
  /// How many items were written, and what they are ("frames", "blocks").
  virtual int Written() const = 0;
  virtual std::string_view WrittenWhat() const = 0;
  /// The first write failure, empty while there was none.
  virtual std::string Failure() const = 0;
};

/// Creates a dump's directory; EFCError naming `label` when it cannot.
void CreateDumpDirectory(const std::filesystem::path& directory, const std::string& label);
/// <directory>/NNNNNN.png, numbered from 000000.
std::filesystem::path NumberedPng(const std::filesystem::path& directory, int index);

/// Connects a dump's `input` beside `pin`: to a source pin directly, to a
/// sink pin through the source it is connected to (the same data reach
/// both). EFCError naming `label` when a sink pin has no source.
void ConnectBeside(TPMPin& pin, TPMPin& input, const std::string& label);

/// Makes the dump for the data `pin` carries and attaches it: a TRealDump
/// for real-valued pins, a TFrameDump for every other pin (which refuses
/// pins that carry no frames). EFCError when the directory cannot be made
/// or the pin cannot be dumped.
std::unique_ptr<TPinDump> AttachDump(TPMPin& pin, std::string label, std::filesystem::path directory);

}  // namespace fc::tool
