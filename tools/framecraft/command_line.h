// command_line.h - the command line of the framecraft tool.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace fc::tool {

/// A command line the tool does not understand; the tool prints the usage.
class EUsageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

enum class TCommand { Help, List, Describe, Run, Demo, Version, Codecs, Play, Effects, Plugin };

/// "Component.Path=Value" of --set, or "Component.Pin=Directory" of --dump.
struct TAssignment {
  std::string argument;   ///< as given, for messages
  std::string component;  ///< before the first dot
  std::string path;       ///< between the first dot and '='
  std::string value;      ///< after '='
};

struct TCommandLine {
  static constexpr int kDefaultFrames = 30;

  TCommand command = TCommand::Help;
  std::string operand;  ///< the class of describe, the form file of run, the command of help
  int frames = kDefaultFrames;
  /// --realtime: generators make their frames at their frame rate rather
  /// than as fast as the pipeline allows.
  bool realtime = false;
  std::vector<TAssignment> sets;
  std::vector<TAssignment> dumps;
  std::vector<TAssignment> previews;  ///< --preview Comp.Pin (no value)
  std::uint64_t maxFrameBytes = 0;  ///< --max-frame-bytes; 0 keeps the library's budget
  /// play: --dump DIR, where the frames go as PNG files (none when empty).
  std::string playDump;
  /// play: --preview, the video shown in a window at the source's own pace.
  bool playPreview = false;
};

/// Parses the arguments after the program name; EUsageError when they make
/// no command.
TCommandLine ParseCommandLine(std::span<const std::string> args);

/// The usage text.
std::string_view UsageText();

}  // namespace fc::tool
