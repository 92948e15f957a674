#include "export/DvxColumn.h"

namespace mlt {

void TDvxColumnTitle::Assign(const TPersistent& source) {
    if (auto* title = dynamic_cast<const TDvxColumnTitle*>(&source)) {
        Caption = title->Caption;
        Alignment = title->Alignment;
        Font.Assign(title->Font);
        Color = title->Color;
        return;
    }
    TPersistent::Assign(source);
}

void TDvxColumn::Assign(const TPersistent& source) {
    auto* column = dynamic_cast<const TDvxColumn*>(&source);
    if (column == nullptr) {
        TCollectionItem::Assign(source);
        return;
    }
    struct UpdateScope {
        TCollection* collection;
        explicit UpdateScope(TCollection* c) : collection(c) {
            if (collection) collection->BeginUpdate();
        }
        ~UpdateScope() {
            if (collection) collection->EndUpdate();
        }
    } scope(Collection());
    FieldName = column->FieldName;
    Font.Assign(column->Font);
    Color = column->Color;
    Width = column->Width;
    Alignment = column->Alignment;
    Visible = column->Visible;
    Title.Assign(column->Title);
}

}  // namespace mlt
