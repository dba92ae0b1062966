// catalogue_listing.h - the list and describe commands: the catalogue and a
// class's published properties and pins, read from the property registry.
#pragma once

#include <ostream>
#include <string_view>

#include "package/catalogue.h"

namespace fc::tool {

/// One line per registered component, in catalogue order, in columns:
/// class, unit, base, role.
void PrintCatalogue(const TFCCatalogue& catalogue, std::ostream& out);

/// The published properties of a registered class (dotted paths into its
/// sub-objects; type, stored default or start value, enumeration values),
/// then its pins (name, media type, direction). EFCError for a class the
/// catalogue does not know.
void DescribeClass(const TFCCatalogue& catalogue, std::string_view className, std::ostream& out);

}  // namespace fc::tool
