// TCollection owns an ordered list of TCollectionItem of one item class. Items know their
// collection and their index. BeginUpdate/EndUpdate nest; UpdateCount says how deep.
#pragma once

#include <memory>
#include <vector>

#include "rtl/Persistent.h"

namespace mlt {

class TCollection;

class TCollectionItem : public TPersistent {
public:
    explicit TCollectionItem(TCollection* collection) : collection_(collection) {}
    std::string ClassName() const override { return "TCollectionItem"; }

    TCollection* Collection() const { return collection_; }
    int Index() const;

private:
    TCollection* collection_;
};

class TCollection : public TPersistent {
public:
    ~TCollection() override = default;
    std::string ClassName() const override { return "TCollection"; }
    // Replaces the items by copies of the source's items, in order.
    void Assign(const TPersistent& source) override;

    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Item(int index) const { return items_.at(static_cast<std::size_t>(index)).get(); }
    TCollectionItem* AddItem();
    void Clear() { items_.clear(); }
    void Delete(int index) { items_.erase(items_.begin() + index); }

    void BeginUpdate() { ++updateCount_; }
    void EndUpdate() { --updateCount_; }
    int UpdateCount() const { return updateCount_; }

    // The published properties of the item class, read from a scratch item.
    void GetItemProperties(TPropList& list);

    virtual TPersistent* GetOwner() const { return nullptr; }

protected:
    virtual std::unique_ptr<TCollectionItem> CreateItem() = 0;

private:
    std::vector<std::unique_ptr<TCollectionItem>> items_;
    int updateCount_ = 0;
};

}  // namespace mlt
