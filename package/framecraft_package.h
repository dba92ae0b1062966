// framecraft_package.h - the package itself: its units, its registration
// and its own load counter.
#pragma once

#include <span>
#include <string_view>

#include "package/unit_load_counter.h"
#include "platform/runtime/components_api.h"

namespace fc::package {

/// A unit that registers a component.
struct FC_COMPONENTS_API TPackageUnit {
  std::string_view name;
  void (*Register)();
  TUnitCounter& (*Counter)();
};

/// The package's component units, in the order of the catalogue table.
FC_COMPONENTS_API std::span<const TPackageUnit> Units();

/// Calls every unit's Register, filling the package's catalogue (what the
/// host does when it loads the package). Calling it again changes nothing.
FC_COMPONENTS_API void Register();

/// The package's own initialisation and finalisation: they count, like the
/// units' (Initialize decrements the package's counter, Finalize increments
/// it).
FC_COMPONENTS_API void Initialize();
FC_COMPONENTS_API void Finalize();
FC_COMPONENTS_API TUnitCounter& Counter();

}  // namespace fc::package
