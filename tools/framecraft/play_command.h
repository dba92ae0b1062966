// play_command.h - `framecraft play FILE_OR_URL`: a player driven as fast as
// its source decodes, its frames optionally written as PNG files.
#pragma once

#include "tools/framecraft/command_line.h"
#include "tools/framecraft/framecraft_tool.h"

namespace fc::tool {

/// Plays `line.operand`: prints the streams found, each status as it
/// arrives, progress on a terminal, and a summary (frames, audio samples,
/// frames per second). EFCError when the source cannot be played.
void RunPlay(const TCommandLine& line, const TToolOutput& io);

}  // namespace fc::tool
