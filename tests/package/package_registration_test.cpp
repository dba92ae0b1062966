// The package's units: each registers exactly its one class on the
// "Frame Craft" page, and loading counts.
#include <gtest/gtest.h>

#include <algorithm>

#include "package/catalogue.h"
#include "package/framecraft_package.h"
#include "package/unit_load_counter.h"

// A unit of this test, counted like the package's units.
FC_DECLARE_UNIT(Fctestunit)
FC_DEFINE_UNIT(Fctestunit)

namespace fc {
namespace {

const TCatalogueEntry* RowOf(const TClassInfo& info) {
  for (const TCatalogueEntry& e : PackageCatalogueTable())
    if (e.className == info.Name()) return &e;
  return nullptr;
}

TEST(PackageUnits, EachRegistersItsOneClassOnTheFrameCraftPage) {
  TFCCatalogue& catalogue = PackageCatalogue();
  for (const package::TPackageUnit& unit : package::Units()) {
    const std::size_t before = catalogue.Calls().size();
    unit.Register();
    const auto calls = catalogue.Calls();
    ASSERT_EQ(calls.size(), before + 1) << unit.name;
    const TRegistrationCall& call = calls.back();
    EXPECT_EQ(call.page, "Frame Craft") << unit.name;
    ASSERT_EQ(call.classes.size(), 1u) << unit.name;
    EXPECT_EQ(call.lastIndex, 0) << unit.name;
    const TCatalogueEntry* row = RowOf(*call.classes[0]);
    ASSERT_NE(row, nullptr) << unit.name;
    EXPECT_EQ(row->unit, unit.name);
    ASSERT_NE(call.classes[0]->Parent(), nullptr);
    EXPECT_EQ(call.classes[0]->Parent()->Name(), row->base) << unit.name;
  }
}

TEST(PackageUnits, ListedInTableOrderAndRegisteredAsListed) {
  package::Register();
  std::vector<std::string_view> listed, expected;
  for (const package::TPackageUnit& unit : package::Units()) expected.push_back(unit.name);
  for (const TCatalogueItem& item : PackageCatalogue().Components()) listed.push_back(item.entry->unit);
  EXPECT_EQ(listed, expected);
  EXPECT_EQ(listed.size(), package::Units().size());
  package::Register();  // loading again registers nothing twice
  EXPECT_EQ(PackageCatalogue().Components().size(), expected.size());
}

TEST(UnitCounters, InitialisationDecrementsAndFinalisationIncrements) {
  // Every unit linked into this program was initialised once.
  EXPECT_EQ(fc::Fctestunit::Counter().Value(), -1);
  for (const package::TPackageUnit& unit : package::Units()) EXPECT_EQ(unit.Counter().Value(), -1) << unit.name;

  TUnitCounter counter;
  {
    TUnitLifetime first(counter);
    TUnitLifetime second(counter);
    EXPECT_EQ(counter.Value(), -2);
  }
  EXPECT_EQ(counter.Value(), 0);

  const int start = package::Counter().Value();
  package::Initialize();
  EXPECT_EQ(package::Counter().Value(), start - 1);
  package::Finalize();
  EXPECT_EQ(package::Counter().Value(), start);
}

}  // namespace
}  // namespace fc
