// effect_listing.h - what `framecraft effects` and `framecraft plugin` print:
// the installed video effects, and one effect plug-in's information.
#pragma once

#include <ostream>
#include <string>

namespace fc::tool {

/// Every installed video effect: name, type, author, file, and each
/// parameter with its type and default value.
void PrintEffects(std::ostream& out);

/// The FreeFrame plug-in in `file`: its information, capabilities and
/// parameters with their types and defaults. A plug-in that cannot be used
/// raises EFCError saying why.
void PrintFreeFramePlugin(const std::string& file, std::ostream& out);

}  // namespace fc::tool
