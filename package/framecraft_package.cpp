#include "package/framecraft_package.h"

#include <vector>

// Every listed unit provides Counter() and Register() in namespace fc::<unit>.
#define FC_PACKAGE_UNIT(Unit)   \
  namespace fc::Unit {          \
  ::fc::TUnitCounter& Counter(); \
  void Register();              \
  }
#include "package/package_units.def"
#undef FC_PACKAGE_UNIT

namespace fc::package {

namespace {

// A vector, as the list may still be empty.
const std::vector<TPackageUnit>& UnitList() {
#define FC_PACKAGE_UNIT(Unit) {#Unit, &::fc::Unit::Register, &::fc::Unit::Counter},
  static const std::vector<TPackageUnit> units = {
#include "package/package_units.def"
  };
#undef FC_PACKAGE_UNIT
  return units;
}

}  // namespace

std::span<const TPackageUnit> Units() { return UnitList(); }

void Register() {
  for (const TPackageUnit& unit : UnitList()) unit.Register();
}

TUnitCounter& Counter() {
  static constinit TUnitCounter counter;
  return counter;
}

void Initialize() { Counter().Initialize(); }
void Finalize() { Counter().Finalize(); }

}  // namespace fc::package
