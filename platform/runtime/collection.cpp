#include "platform/runtime/collection.h"

#include "platform/runtime/error.h"

namespace fc {

const TClassInfo& TCollectionItem::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCollectionItem>("TCollectionItem", &TPersistent::StaticClassInfo()).Build();
  return info;
}

int TCollectionItem::Index() const { return collection_->IndexOf(*this); }

std::string TCollectionItem::NamePath() const {
  return collection_->NamePath() + "[" + std::to_string(Index()) + "]";
}

const TClassInfo& TCollection::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCollection>("TCollection", &TPersistent::StaticClassInfo()).Build();
  return info;
}

TCollection::TCollection(TPersistent* owner, std::string propertyName, const TClassInfo& itemClass,
                         ItemFactory makeItem)
    : TOwnedPersistent(owner, std::move(propertyName)), itemClass_(itemClass),
      makeItem_(std::move(makeItem)) {}

TCollection::~TCollection() = default;

TCollectionItem& TCollection::Items(int index) const {
  if (index < 0 || index >= Count())
    throw EFCError(NamePath() + ": item index " + std::to_string(index) + " out of range");
  return *items_[static_cast<std::size_t>(index)];
}

int TCollection::IndexOf(const TCollectionItem& item) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == &item) return static_cast<int>(i);
  return -1;
}

TCollectionItem& TCollection::Add() {
  items_.push_back(makeItem_(*this));
  Added(*items_.back());
  return *items_.back();
}

void TCollection::Delete(int index) {
  TCollectionItem& item = Items(index);
  Removing(item);
  items_.erase(items_.begin() + index);
}

void TCollection::Clear() {
  while (!items_.empty()) Delete(Count() - 1);
}

void TCollection::Assign(const TPersistent& source) {
  if (&source == this) return;
  const auto* other = dynamic_cast<const TCollection*>(&source);
  if (!other || !other->itemClass_.InheritsFrom(itemClass_))
    throw EFCError("Cannot assign a " + source.ClassInfo().Name() + " to " + NamePath());
  Clear();
  for (int i = 0; i < other->Count(); ++i) Add().Assign(other->Items(i));
}

}  // namespace fc
