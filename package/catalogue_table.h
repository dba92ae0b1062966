// catalogue_table.h - the package's component catalogue as data.
#pragma once

#include <span>
#include <string_view>

#include "platform/runtime/components_api.h"

namespace fc {

/// One component of the catalogue: its class, the unit that registers it,
/// the base class it derives from, and what it does.
struct FC_COMPONENTS_API TCatalogueEntry {
  std::string_view className;
  std::string_view unit;
  std::string_view base;
  std::string_view role;
};

/// Every component of the package, in the order of their units in the
/// package; the catalogue lists registered components in this order.
FC_COMPONENTS_API std::span<const TCatalogueEntry> PackageCatalogueTable();

}  // namespace fc
