// The catalogue: registration calls, listing order, and making components
// by class name for the form loader.
#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "contracts/video/common_filter.h"
#include "contracts/video/generator.h"
#include "package/catalogue.h"
#include "platform/runtime/error.h"
#include "platform/runtime/form_loader.h"
#include "platform/runtime/form_reader.h"

namespace fc {
namespace {

class TFirstFilter : public TFCCommonFilter {
  FC_DECLARE_CLASS_INFO()
public:
  using TFCCommonFilter::TFCCommonFilter;
};
FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFirstFilter, TFCCommonFilter)

class TSecondFilter : public TFCCommonFilter {
  FC_DECLARE_CLASS_INFO()
public:
  using TFCCommonFilter::TFCCommonFilter;
};
FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TSecondFilter, TFCCommonFilter)

// Not in the table.
class TStrayFilter : public TFCCommonFilter {
  FC_DECLARE_CLASS_INFO()
public:
  using TFCCommonFilter::TFCCommonFilter;
};
FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TStrayFilter, TFCCommonFilter)

constexpr TCatalogueEntry kTable[] = {
    {"TFirstFilter", "Fcfirstfilter", "TFCCommonFilter", "first"},
    {"TFCCommonGen", "Fccommongen", "TComponent", "abstract, cannot be made"},
    {"TSecondFilter", "Fcsecondfilter", "TFCCommonFilter", "second"},
};

void RegisterOne(TFCCatalogue& catalogue, const TClassInfo& info, int lastIndex = 0) {
  const TClassInfo* const classes[] = {&info};
  catalogue.RegisterComponents(kFrameCraftPage, classes, lastIndex);
}

std::vector<std::string> ListedClasses(const TFCCatalogue& catalogue) {
  std::vector<std::string> names;
  for (const TCatalogueItem& item : catalogue.Components()) names.emplace_back(item.entry->className);
  return names;
}

TEST(Catalogue, ListsInTableOrderWhateverTheRegistrationOrder) {
  TFCCatalogue catalogue(kTable);
  RegisterOne(catalogue, TSecondFilter::StaticClassInfo());
  RegisterOne(catalogue, TFirstFilter::StaticClassInfo());
  RegisterOne(catalogue, TSecondFilter::StaticClassInfo());  // again: no second entry
  EXPECT_EQ(ListedClasses(catalogue), (std::vector<std::string>{"TFirstFilter", "TSecondFilter"}));
  for (const TCatalogueItem& item : catalogue.Components()) {
    EXPECT_EQ(item.page, "Frame Craft");
    EXPECT_EQ(item.classInfo->Name(), item.entry->className);
  }
  ASSERT_EQ(catalogue.Calls().size(), 3u);
  EXPECT_EQ(catalogue.Calls()[1].classes, (std::vector<const TClassInfo*>{&TFirstFilter::StaticClassInfo()}));
  EXPECT_EQ(catalogue.Calls()[1].lastIndex, 0);
}

TEST(Catalogue, RefusesWholeCallsThatCannotBeRegistered) {
  TFCCatalogue catalogue(kTable);
  const TClassInfo* const both[] = {&TFirstFilter::StaticClassInfo(), &TStrayFilter::StaticClassInfo()};
  EXPECT_THROW(catalogue.RegisterComponents(kFrameCraftPage, both, 1), EFCError);  // stray not in the table
  const TClassInfo* const firstTwice[] = {&TFirstFilter::StaticClassInfo(), &TSecondFilter::StaticClassInfo()};
  EXPECT_THROW(catalogue.RegisterComponents(kFrameCraftPage, firstTwice, 0), EFCError);  // index is the count less one
  EXPECT_THROW(RegisterOne(catalogue, TFirstFilter::StaticClassInfo(), 1), EFCError);
  EXPECT_THROW(RegisterOne(catalogue, TFCCommonGen::StaticClassInfo()), EFCError);  // abstract
  const TClassInfo* const none[] = {nullptr};
  EXPECT_THROW(catalogue.RegisterComponents(kFrameCraftPage, none, 0), EFCError);
  EXPECT_TRUE(catalogue.Components().empty());
  EXPECT_EQ(catalogue.Calls().size(), 5u);  // failed calls are still recorded
}

TEST(Catalogue, GivesTheFormLoaderRegisteredClassesAndTheContainer) {
  TFCCatalogue catalogue(kTable);
  RegisterOne(catalogue, TSecondFilter::StaticClassInfo());
  EXPECT_EQ(catalogue.FindClass("tsecondfilter"), &TSecondFilter::StaticClassInfo());
  EXPECT_EQ(catalogue.FindClass("TFirstFilter"), nullptr);  // in the table, not registered
  auto root = LoadForm(readForm("object Form1: TComponent\n"
                                "  object Second1: TSecondFilter\n"
                                "    Enabled = False\n"
                                "  end\n"
                                "end\n",
                                "form.fcf"),
                       catalogue.ClassLookup());
  auto* second = dynamic_cast<TSecondFilter*>(root->FindComponent("Second1"));
  ASSERT_NE(second, nullptr);
  EXPECT_FALSE(second->GetEnabled());
  EXPECT_THROW(LoadForm(readForm("object Form1: TComponent\n  object A: TFirstFilter\n  end\nend\n", "f.fcf"),
                        catalogue.ClassLookup()),
               EFCError);
}

// The package's own table: 43 components, each class TFC<Name> in unit
// Fc<name in lower case>, no class or unit twice.
TEST(PackageCatalogueTable, NamesFollowTheConventionOnce) {
  auto table = PackageCatalogueTable();
  EXPECT_EQ(table.size(), 43u);
  std::set<std::string_view> classes, units;
  for (const TCatalogueEntry& e : table) {
    ASSERT_TRUE(e.className.starts_with("TFC")) << e.className;
    std::string unit = "Fc";
    for (char c : e.className.substr(3)) unit += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(e.unit, unit);
    EXPECT_TRUE(e.base.starts_with("T")) << e.base;
    EXPECT_FALSE(e.role.empty());
    EXPECT_TRUE(classes.insert(e.className).second) << e.className;
    EXPECT_TRUE(units.insert(e.unit).second) << e.unit;
  }
  EXPECT_EQ(table.front().className, "TFCColorMerge");
  EXPECT_EQ(table.back().className, "TFCQueuedSwitch");
}

}  // namespace
}  // namespace fc
