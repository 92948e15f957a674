// Export columns: which fields are exported, in which order, with which width (in
// characters), alignment, colours, fonts and caption. TDvxColumns is owned by an export
// component; its items' order is export order, hidden columns included.
#pragma once

#include <string>

#include "rtl/Alignment.h"
#include "rtl/Collection.h"
#include "rtl/Colors.h"
#include "rtl/Font.h"

namespace mlt {

class TDvxColumnTitle : public TPersistent {
public:
    std::string ClassName() const override { return "TDvxColumnTitle"; }
    void Assign(const TPersistent& source) override;

    std::string Caption;
    TColor Color = clSilver;
    TAlignment Alignment = taLeftJustify;
    TFont Font;  // owned; assigning copies the attributes
};

class TDvxColumn : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    std::string ClassName() const override { return "TDvxColumn"; }
    // Copies every setting, the title's included, under the collection's update count.
    void Assign(const TPersistent& source) override;

    std::string FieldName;
    TColor Color = clWhite;
    int Width = 0;
    TFont Font;
    TAlignment Alignment = taLeftJustify;
    bool Visible = true;
    TDvxColumnTitle Title;
};

class TDvxColumns : public TCollection {
public:
    explicit TDvxColumns(TPersistent* owner = nullptr) : owner_(owner) {}
    std::string ClassName() const override { return "TDvxColumns"; }

    TDvxColumn& Add() { return static_cast<TDvxColumn&>(*AddItem()); }
    TDvxColumn& Items(int index) const { return static_cast<TDvxColumn&>(*Item(index)); }
    TPersistent* GetOwner() const override { return owner_; }

protected:
    std::unique_ptr<TCollectionItem> CreateItem() override { return std::make_unique<TDvxColumn>(this); }

private:
    TPersistent* owner_;
};

}  // namespace mlt
