#include "contracts/pins/ext_collection.h"

namespace fc {

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TPMExtCollectionItem, TCollectionItem)
FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TPMExtCollection, TCollection)

TComponent* TPMExtCollectionItem::OwnerComponent() const {
  const auto* collection = dynamic_cast<const TPMExtCollection*>(&Collection());
  return collection ? collection->OwnerComponent() : nullptr;
}

// The owner hears of every removal, also of the items that go with the
// collection, while it still exists.
TPMExtCollection::~TPMExtCollection() { Clear(); }

void TPMExtCollection::Added(TCollectionItem& item) {
  if (onAdded_) onAdded_(static_cast<TPMExtCollectionItem&>(item));
}

void TPMExtCollection::Removing(TCollectionItem& item) {
  if (onRemoving_) onRemoving_(static_cast<TPMExtCollectionItem&>(item));
}

}  // namespace fc
