#include "rtl/Collection.h"

namespace mlt {

int TCollectionItem::Index() const {
    for (int i = 0; i < collection_->Count(); ++i)
        if (collection_->Item(i) == this) return i;
    return -1;
}

TCollectionItem* TCollection::AddItem() {
    items_.push_back(CreateItem());
    return items_.back().get();
}

void TCollection::Assign(const TPersistent& source) {
    auto* other = dynamic_cast<const TCollection*>(&source);
    if (other == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    BeginUpdate();
    try {
        Clear();
        for (int i = 0; i < other->Count(); ++i) AddItem()->Assign(*other->Item(i));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::GetItemProperties(TPropList& list) {
    CreateItem()->GetPublishedProperties(list);
}

}  // namespace mlt
