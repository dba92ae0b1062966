#include "package/catalogue.h"

#include <algorithm>

#include "platform/runtime/component.h"
#include "platform/runtime/error.h"

namespace fc {

const TCatalogueEntry* TFCCatalogue::FindRow(std::string_view className, std::size_t& row) const {
  for (row = 0; row < table_.size(); ++row)
    if (SameIdentifier(table_[row].className, className)) return &table_[row];
  return nullptr;
}

const TFCCatalogue::Registered* TFCCatalogue::FindRegistered(std::string_view className) const {
  for (const Registered& r : registered_)
    if (SameIdentifier(r.classInfo->Name(), className)) return &r;
  return nullptr;
}

void TFCCatalogue::Check(std::span<const TClassInfo* const> classes, int lastIndex) const {
  if (lastIndex != static_cast<int>(classes.size()) - 1)
    throw EFCError("RegisterComponents: last index " + std::to_string(lastIndex) + " does not match " +
                   std::to_string(classes.size()) + " classes");
  for (const TClassInfo* c : classes) {
    if (!c) throw EFCError("RegisterComponents: no class given");
    std::size_t row;
    if (!FindRow(c->Name(), row)) throw EFCError(c->Name() + " is not in the component catalogue");
    if (!c->CanCreate()) throw EFCError(c->Name() + " cannot be created by name");
    const Registered* other = FindRegistered(c->Name());
    if (other && other->classInfo != c) throw EFCError("Another class named " + c->Name() + " is registered");
  }
}

void TFCCatalogue::RegisterComponents(std::string_view page, std::span<const TClassInfo* const> classes,
                                      int lastIndex) {
  std::lock_guard guard(mutex_);
  calls_.push_back({std::string(page), {classes.begin(), classes.end()}, lastIndex});
  Check(classes, lastIndex);
  for (const TClassInfo* c : classes) {
    if (FindRegistered(c->Name())) continue;
    std::size_t row;
    FindRow(c->Name(), row);
    registered_.push_back({row, c, std::string(page)});
  }
}

std::vector<TCatalogueItem> TFCCatalogue::Components() const {
  std::vector<Registered> sorted;
  {
    std::lock_guard guard(mutex_);
    sorted = registered_;
  }
  std::sort(sorted.begin(), sorted.end(), [](const Registered& a, const Registered& b) { return a.row < b.row; });
  std::vector<TCatalogueItem> items;
  for (const Registered& r : sorted) items.push_back({&table_[r.row], r.classInfo, r.page});
  return items;
}

const TClassInfo* TFCCatalogue::FindClass(std::string_view className) const {
  std::lock_guard guard(mutex_);
  const Registered* r = FindRegistered(className);
  return r ? r->classInfo : nullptr;
}

TFormClassLookup TFCCatalogue::ClassLookup() const {
  return [this](std::string_view className) -> const TClassInfo* {
    if (SameIdentifier(className, TComponent::StaticClassInfo().Name())) return &TComponent::StaticClassInfo();
    return FindClass(className);
  };
}

std::vector<TRegistrationCall> TFCCatalogue::Calls() const {
  std::lock_guard guard(mutex_);
  return calls_;
}

TFCCatalogue& PackageCatalogue() {
  static TFCCatalogue catalogue(PackageCatalogueTable());
  return catalogue;
}

void RegisterComponents(std::string_view page, std::span<const TClassInfo* const> classes, int lastIndex) {
  PackageCatalogue().RegisterComponents(page, classes, lastIndex);
}

}  // namespace fc
