#include "tools/framecraft/command_help.h"

#include <string>

#include "tools/framecraft/command_line.h"

namespace fc::tool {

namespace {

struct TCommandHelp {
  std::string_view command;
  std::string_view text;
};

// One row per command; a new command adds its row here.
constexpr TCommandHelp kCommandHelp[] = {
    {"list",
     "usage: framecraft list\n"
     "\n"
     "Lists the registered component classes, one a line: class, unit, base\n"
     "class and role (generator, filter, sink ...).\n"},
    {"codecs",
     "usage: framecraft codecs\n"
     "\n"
     "Lists the video codecs the compressors, decompressors and loggers find by\n"
     "four-character code, one a line: the code, its encoder and its decoder\n"
     "('-' where there is none), in the order a compressor without a codec\n"
     "list tries them.\n"},
    {"describe",
     "usage: framecraft describe CLASS\n"
     "\n"
     "Shows the published properties of component class CLASS (case does not\n"
     "matter): name, type, stored default and the identifiers of enumerations,\n"
     "sub-objects with their own properties, and the component's pins.\n"},
    {"run",
     "usage: framecraft run FORM [--frames N] [--realtime] [--set Comp.Prop=Value]...\n"
     "                           [--dump Comp.Pin=DIR]... [--preview Comp.Pin]...\n"
     "                           [--max-frame-bytes BYTES]\n"
     "\n"
     "Loads the form file FORM, streams frames through its pipeline and prints\n"
     "the frame rate reached. A pipeline whose connections form a loop is\n"
     "refused; a run in which a component reported a failed frame prints each\n"
     "failure and exits with status 1. File loggers in the form record into\n"
     "their FileName (--set Logger1.FileName=out.wmv); the frames and bytes each\n"
     "one wrote are shown while it runs and printed at the end.\n"
     "\n"
     "  --frames N              frames to stream (default 30)\n"
     "  --realtime              each generator makes its frames at its own frame\n"
     "                          rate, as a live source would; otherwise as fast as\n"
     "                          the slowest component allows\n"
     "  --set Comp.Prop=Value   sets a property before the run; Prop may be a\n"
     "                          dotted path into sub-objects (Resize1.OutputSize.Width=320)\n"
     "                          or a picture loaded from a PNG, JPEG, BMP or GIF file\n"
     "                          (Picture1.Picture=@photo.png)\n"
     "  --dump Comp.Pin=DIR     writes every frame leaving that pin as numbered PNG\n"
     "                          files into DIR; a pin of a pin list is Comp.List.N;\n"
     "                          each pin needs a directory of its own\n"
     "  --preview Comp.Pin      shows the frames leaving that pin in a window;\n"
     "                          needs a display (or SDL_VIDEODRIVER=offscreen)\n"
     "  --max-frame-bytes BYTES the largest frame or work buffer (default\n"
     "                          FRAMECRAFT_MAX_FRAME_BYTES, else 1073741824)\n"
     "A pipeline with a video output that pumps its source (EnableMasterPumping)\n"
     "runs at the pace of that output's device.\n"
     "A form whose sources are media players (TFCASFPlayer) plays each one's\n"
     "FileName from the start (a player the form disables is enabled for the\n"
     "run) as fast as it decodes, or at the file's own pace with --realtime,\n"
     "until N frames or the end of the file.\n"
     "Options may also be written --option=value. FRAMECRAFT_LOG=warning|debug\n"
     "shows the library's log.\n"},
    {"demo",
     "usage: framecraft demo [--frames N] [--max-frame-bytes BYTES]\n"
     "\n"
     "Runs the built-in example pipeline (a generated test pattern through\n"
     "several filters) and writes each component's output frames as PNG files\n"
     "into ./demo-out/<component>/.\n"
     "\n"
     "  --frames N              frames to stream (default 30)\n"
     "  --max-frame-bytes BYTES the largest frame or work buffer\n"},
    {"play",
     "usage: framecraft play FILE_OR_URL [--frames N] [--dump DIR] [--preview]\n"
     "\n"
     "Plays a media file (WMV, WMA, AVI, MP4, MKV, MOV, DV ...) or a network\n"
     "stream (http, https, rtsp, udp) as fast as it decodes, printing the\n"
     "streams found, the player's statuses and the frames and audio delivered.\n"
     "\n"
     "  --frames N              stops after N frames (default: the whole source)\n"
     "  --dump DIR              writes every frame as a numbered PNG file into DIR\n"
     "  --preview               shows the video in a window, played at its own pace\n"
     "                          (needs a display, or SDL_VIDEODRIVER=offscreen)\n"},
    {"effects",
     "usage: framecraft effects\n"
     "\n"
     "Lists the installed video effects that TFCDMOEffect runs (its DMOName):\n"
     "name, type (filter, mixer2, mixer3), author and library file, then each\n"
     "parameter with its type and default value. Effects are looked for along\n"
     "FREI0R_PATH (folders separated by colons) or, without it, in\n"
     "~/.frei0r-1/lib, /usr/local/lib/frei0r-1, /usr/lib/frei0r-1 and\n"
     "/usr/lib/x86_64-linux-gnu/frei0r-1.\n"},
    {"plugin",
     "usage: framecraft plugin FILE.so\n"
     "\n"
     "Loads the FreeFrame effect plug-in FILE.so as TFCFreeFrame would and\n"
     "prints its version and description, capabilities, input counts and\n"
     "parameters with their types and defaults; when it is no usable plug-in,\n"
     "says why and exits with status 1.\n"},
    {"help",
     "usage: framecraft help [COMMAND]\n"
     "       framecraft --help | -h\n"
     "\n"
     "Without COMMAND, the list of commands; with it, that command's help.\n"},
    {"version",
     "usage: framecraft version\n"
     "       framecraft --version\n"
     "\n"
     "Prints the version of Framecraft the tool and its libraries belong to.\n"},
};

}  // namespace

std::string_view CommandHelp(std::string_view command) {
  for (const TCommandHelp& help : kCommandHelp)
    if (help.command == command) return help.text;
  throw EUsageError("no command '" + std::string(command) + "' to describe");
}

}  // namespace fc::tool
