// catalogue.h - the component catalogue: which component classes are
// registered, on which palette page, and how to make them by class name.
#pragma once

#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "package/catalogue_table.h"
#include "platform/runtime/components_api.h"
#include "platform/runtime/form_loader.h"
#include "platform/runtime/properties.h"

namespace fc {

/// The palette page every component of the package is registered on.
inline constexpr std::string_view kFrameCraftPage = "Frame Craft";

/// A registered component: its row of the catalogue table, its published
/// description (through which it is made) and its palette page.
struct FC_COMPONENTS_API TCatalogueItem {
  const TCatalogueEntry* entry = nullptr;
  const TClassInfo* classInfo = nullptr;
  std::string page;
};

/// One registration call as it was made.
struct FC_COMPONENTS_API TRegistrationCall {
  std::string page;
  std::vector<const TClassInfo*> classes;
  int lastIndex = 0;
};

/// Registered component classes, listed in the order of a catalogue table
/// whatever order they were registered in. Thread-safe.
class FC_COMPONENTS_API TFCCatalogue {
public:
  /// `table` must outlive the catalogue.
  explicit TFCCatalogue(std::span<const TCatalogueEntry> table) : table_(table) {}

  /// Registers `classes` on `page`; `lastIndex` is the index of the last
  /// class (the count less one). Registering a class again changes nothing.
  /// Throws EFCError, registering none of them, when the index does not
  /// match, a class is missing from the table, cannot be created, or another
  /// class of the same name is registered.
  void RegisterComponents(std::string_view page, std::span<const TClassInfo* const> classes,
                          int lastIndex);

  /// The registered components in table order.
  std::vector<TCatalogueItem> Components() const;
  /// The registered class of that name (case-insensitive), or null.
  const TClassInfo* FindClass(std::string_view className) const;
  /// The class lookup of the form loader: the registered classes, and
  /// TComponent, the plain container a form's root object usually is.
  /// Valid while the catalogue lives.
  TFormClassLookup ClassLookup() const;

  /// Every registration call made so far, in order.
  std::vector<TRegistrationCall> Calls() const;

private:
  struct Registered {
    std::size_t row;
    const TClassInfo* classInfo;
    std::string page;
  };
  const TCatalogueEntry* FindRow(std::string_view className, std::size_t& row) const;
  const Registered* FindRegistered(std::string_view className) const;
  void Check(std::span<const TClassInfo* const> classes, int lastIndex) const;

  std::span<const TCatalogueEntry> table_;
  mutable std::mutex mutex_;
  std::vector<Registered> registered_;
  std::vector<TRegistrationCall> calls_;
};

/// The package's catalogue, over the package's catalogue table.
FC_COMPONENTS_API TFCCatalogue& PackageCatalogue();

/// The registration call every unit's `Register` makes: registers `classes`
/// in the package's catalogue (see TFCCatalogue::RegisterComponents).
FC_COMPONENTS_API void RegisterComponents(std::string_view page, std::span<const TClassInfo* const> classes,
                                          int lastIndex);

}  // namespace fc
