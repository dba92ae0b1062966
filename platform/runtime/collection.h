// collection.h - owned, ordered collections of persistent items.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/runtime/components_api.h"
#include "platform/runtime/persistent.h"

namespace fc {

class TCollection;

/// One item of a collection; it knows its collection and its index.
class FC_COMPONENTS_API TCollectionItem : public TPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  explicit TCollectionItem(TCollection& collection) : collection_(&collection) {}

  TCollection& Collection() const { return *collection_; }
  int Index() const;
  /// "Owner.Collection[index]".
  std::string NamePath() const override;

private:
  TCollection* collection_;
};

/// An ordered list of items of one class, owned by a component under a
/// property name. Items are made by the collection (`Add`), so form files can
/// rebuild them from the item class alone.
class FC_COMPONENTS_API TCollection : public TOwnedPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  using ItemFactory = std::function<std::unique_ptr<TCollectionItem>(TCollection&)>;

  TCollection(TPersistent* owner, std::string propertyName, const TClassInfo& itemClass,
              ItemFactory makeItem);
  ~TCollection() override;

  const TClassInfo& ItemClassInfo() const { return itemClass_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TCollectionItem& Items(int index) const;
  int IndexOf(const TCollectionItem& item) const;

  /// Appends a new item (the virtual `Added` then runs).
  TCollectionItem& Add();
  void Delete(int index);
  void Clear();

  /// Replaces the items by copies of the items of `source`.
  void Assign(const TPersistent& source) override;

protected:
  /// Called after an item is added and before one is removed, so owners can
  /// create or release what belongs to an item (its pins, its queues).
  virtual void Added(TCollectionItem&) {}
  virtual void Removing(TCollectionItem&) {}

private:
  const TClassInfo& itemClass_;
  ItemFactory makeItem_;
  std::vector<std::unique_ptr<TCollectionItem>> items_;
};

/// A collection whose items are of class Item, made with Item(TCollection&).
template <class Item>
class FC_COMPONENTS_API TTypedCollection : public TCollection {
public:
  TTypedCollection(TPersistent* owner, std::string propertyName)
      : TCollection(owner, std::move(propertyName), Item::StaticClassInfo(),
                    [](TCollection& c) { return std::make_unique<Item>(c); }) {}

  Item& Items(int index) const { return static_cast<Item&>(TCollection::Items(index)); }
  Item& Add() { return static_cast<Item&>(TCollection::Add()); }
};

}  // namespace fc
