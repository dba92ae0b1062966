// ext_collection.h - collections whose items own pins (the input channels of
// a playlist switch, each with its own video and audio input).
#pragma once

#include <functional>
#include <string>

#include "platform/runtime/collection.h"
#include "platform/runtime/component.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// An item that owns pins. Its pins belong to the component that owns the
/// collection (`OwnerComponent()`), which usually also lists them in its pin
/// lists; an item creates them in its constructor, and destroying the item
/// disconnects them.
class FC_COMPONENTS_API TPMExtCollectionItem : public TCollectionItem {
  FC_DECLARE_CLASS_INFO()
public:
  using TCollectionItem::TCollectionItem;
  /// The component owning the collection, the owner of the item's pins.
  TComponent* OwnerComponent() const;
};

/// A collection of TPMExtCollectionItem owned by a component. The owner is
/// told after an item is added and before one is removed, to list or unlist
/// the item's pins and create or release per-item state.
class FC_COMPONENTS_API TPMExtCollection : public TCollection {
  FC_DECLARE_CLASS_INFO()
public:
  using ItemHandler = std::function<void(TPMExtCollectionItem&)>;

  TPMExtCollection(TComponent* owner, std::string propertyName, const TClassInfo& itemClass,
                   ItemFactory makeItem, ItemHandler onAdded = {}, ItemHandler onRemoving = {})
      : TCollection(owner, std::move(propertyName), itemClass, std::move(makeItem)), owner_(owner),
        onAdded_(std::move(onAdded)), onRemoving_(std::move(onRemoving)) {}
  ~TPMExtCollection() override;

  TComponent* OwnerComponent() const { return owner_; }

protected:
  void Added(TCollectionItem& item) override;
  void Removing(TCollectionItem& item) override;

private:
  TComponent* owner_;
  ItemHandler onAdded_, onRemoving_;
};

/// A pin-owning collection of items of class Item, made with Item(TCollection&).
template <class Item>
class FC_COMPONENTS_API TPMTypedExtCollection : public TPMExtCollection {
public:
  TPMTypedExtCollection(TComponent* owner, std::string propertyName, ItemHandler onAdded = {},
                        ItemHandler onRemoving = {})
      : TPMExtCollection(owner, std::move(propertyName), Item::StaticClassInfo(),
                         [](TCollection& c) { return std::make_unique<Item>(c); }, std::move(onAdded),
                         std::move(onRemoving)) {}

  Item& Items(int index) const { return static_cast<Item&>(TCollection::Items(index)); }
  Item& Add() { return static_cast<Item&>(TCollection::Add()); }
};

}  // namespace fc
