#include "tools/framecraft/command_line.h"

#include <charconv>

#include "platform/runtime/resource_budget.h"
#include "tools/framecraft/command_help.h"

namespace fc::tool {

namespace {

TAssignment ParseAssignment(std::string_view option, const std::string& text) {
  std::size_t equals = text.find('=');
  std::size_t dot = text.find('.');
  if (equals == std::string::npos || dot == std::string::npos || dot == 0 || dot + 1 >= equals)
    throw EUsageError(std::string(option) + " expects Component.Name=Value, not '" + text + "'");
  return {text, text.substr(0, dot), text.substr(dot + 1, equals - dot - 1), text.substr(equals + 1)};
}

// "Comp.Pin" of --preview.
TAssignment ParsePinPath(const std::string& text) {
  const std::size_t dot = text.find('.');
  if (dot == std::string::npos || dot == 0 || dot + 1 >= text.size())
    throw EUsageError("--preview expects Component.Pin, not '" + text + "'");
  return {text, text.substr(0, dot), text.substr(dot + 1), {}};
}

int ParseFrameCount(const std::string& text) {
  int frames = 0;
  auto result = std::from_chars(text.data(), text.data() + text.size(), frames);
  if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size() || frames < 1)
    throw EUsageError("--frames expects a positive whole number, not '" + text + "'");
  return frames;
}

std::uint64_t ParseByteCount(const std::string& text) {
  const auto bytes = ParseBufferBytes(text);
  if (!bytes) throw EUsageError("--max-frame-bytes expects a positive whole number of bytes, not '" + text + "'");
  return *bytes;
}

bool IsKnownOption(std::string_view option, bool setAndDump) {
  return option == "--frames" || option == "--max-frame-bytes" ||
         (setAndDump && (option == "--set" || option == "--dump" || option == "--preview"));
}

// Reads the options after the operand; `setAndDump` says whether --set and
// --dump (and --realtime) may appear (run) or only --frames and
// --max-frame-bytes (demo).
void ParseOptions(std::span<const std::string> args, bool setAndDump, TCommandLine& line) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--realtime" && setAndDump) {
      line.realtime = true;
      continue;
    }
    std::string option = args[i], value;
    if (!option.starts_with("--")) throw EUsageError("unexpected '" + option + "'");
    const std::size_t equals = option.find('=');
    if (equals != std::string::npos) {
      value = option.substr(equals + 1);
      option.resize(equals);
    }
    if (!IsKnownOption(option, setAndDump)) throw EUsageError("unknown option '" + option + "'");
    if (equals == std::string::npos) {
      if (i + 1 >= args.size()) throw EUsageError(option + " expects a value");
      value = args[++i];
    }
    if (option == "--frames")
      line.frames = ParseFrameCount(value);
    else if (option == "--max-frame-bytes")
      line.maxFrameBytes = ParseByteCount(value);
    else if (option == "--set")
      line.sets.push_back(ParseAssignment(option, value));
    else if (option == "--preview")
      line.previews.push_back(ParsePinPath(value));
    else
      line.dumps.push_back(ParseAssignment(option, value));
  }
}

// The options of play: --frames N (default: every frame), --dump DIR and
// --preview.
// One branch per option, so more options add a branch each.
void ParsePlayOptions(std::span<const std::string> args, TCommandLine& line) {
  line.frames = 0;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string option = args[i], value;
    if (!option.starts_with("--")) throw EUsageError("unexpected '" + option + "'");
    if (const std::size_t equals = option.find('='); equals != std::string::npos) {
      value = option.substr(equals + 1);
      option.resize(equals);
    } else if (option == "--frames" || option == "--dump") {
      if (i + 1 >= args.size()) throw EUsageError(option + " expects a value");
      value = args[++i];
    }
    if (option == "--frames")
      line.frames = ParseFrameCount(value);
    else if (option == "--dump")
      line.playDump = value;
    else if (option == "--preview" && value.empty() && args[i].find('=') == std::string::npos)
      line.playPreview = true;
    else
      throw EUsageError("unknown option '" + option + "'");
  }
}

}  // namespace

TCommandLine ParseCommandLine(std::span<const std::string> args) {
  TCommandLine line;
  if (args.empty()) throw EUsageError("no command given");
  const std::string& command = args[0];
  auto rest = args.subspan(1);
  if (command == "--help" || command == "-h" || command == "help") {
    line.command = TCommand::Help;
    if (command == "help" && rest.size() == 1) {
      CommandHelp(rest[0]);  // refuses a command the tool does not have
      line.operand = rest[0];
      return line;
    }
  } else if (command == "--version" || command == "version") {
    line.command = TCommand::Version;
  } else if (command == "list") {
    line.command = TCommand::List;
  } else if (command == "codecs") {
    line.command = TCommand::Codecs;
  } else if (command == "describe") {
    if (rest.size() != 1) throw EUsageError("describe expects one class name");
    line.command = TCommand::Describe;
    line.operand = rest[0];
    return line;
  } else if (command == "effects") {
    line.command = TCommand::Effects;
  } else if (command == "plugin") {
    if (rest.size() != 1) throw EUsageError("plugin expects one plug-in file");
    line.command = TCommand::Plugin;
    line.operand = rest[0];
    return line;
  } else if (command == "run") {
    if (rest.empty() || rest[0].starts_with("--")) throw EUsageError("run expects a form file");
    line.command = TCommand::Run;
    line.operand = rest[0];
    ParseOptions(rest.subspan(1), true, line);
    return line;
  } else if (command == "play") {
    if (rest.empty() || rest[0].starts_with("--")) throw EUsageError("play expects a file or URL");
    line.command = TCommand::Play;
    line.operand = rest[0];
    ParsePlayOptions(rest.subspan(1), line);
    return line;
  } else if (command == "demo") {
    line.command = TCommand::Demo;
    ParseOptions(rest, false, line);
    return line;
  } else {
    throw EUsageError("unknown command '" + command + "'");
  }
  if (!rest.empty()) throw EUsageError(command + " takes no arguments");
  return line;
}

std::string_view UsageText() {
  return "usage: framecraft list\n"
         "       framecraft codecs\n"
         "       framecraft describe CLASS\n"
         "       framecraft run FORM [--frames N] [--realtime] [--set Comp.Prop=Value]...\n"
         "                           [--dump Comp.Pin=DIR]... [--preview Comp.Pin]...\n"
         "                           [--max-frame-bytes BYTES]\n"
         "       framecraft demo [--frames N] [--max-frame-bytes BYTES]\n"
         "       framecraft play FILE_OR_URL [--frames N] [--dump DIR] [--preview]\n"
         "       framecraft effects\n"
         "       framecraft plugin FILE.so\n"
         "       framecraft help [COMMAND] | --help\n"
         "       framecraft version | --version\n"
         "\n"
         "  list       the registered components: class, unit, base, role\n"
         "  codecs     the video codecs by four-character code, with their encoders\n"
         "             and decoders\n"
         "  describe   the published properties and pins of a component class\n"
         "  run        loads a form file, applies the --set values, streams N frames\n"
         "             (default 30) and writes the frames reaching each --dump pin\n"
         "             as PNG files into its directory; with --realtime each generator\n"
         "             makes its frames at its frame rate, as a live source would\n"
         "  demo       runs the built-in example pipeline into ./demo-out/\n"
         "  play       plays a media file or stream, printing its streams and statuses\n"
         "  effects    the installed video effects with their parameters\n"
         "  plugin     what an effect plug-in tells about itself, or why it is none\n"
         "  help       this text, or with COMMAND every option of that command\n"
         "  version    the version of Framecraft\n";
}

}  // namespace fc::tool
