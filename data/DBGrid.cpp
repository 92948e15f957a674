#include "data/DBGrid.h"

namespace mlt {

void TColumn::Assign(const TPersistent& source) {
    if (auto* column = dynamic_cast<const TColumn*>(&source)) {
        FieldName = column->FieldName;
        Alignment = column->Alignment;
        Color = column->Color;
        Font = column->Font;
        Visible = column->Visible;
        Title = column->Title;
        return;
    }
    TCollectionItem::Assign(source);
}

void TColumn::GetPublishedProperties(TPropList& list) const {
    list.push_back({"FieldName", TPropKind::String, nullptr,
                    [](const TPersistent& o) { return static_cast<const TColumn&>(o).FieldName; }, nullptr});
    list.push_back({"Alignment", TPropKind::Integer, nullptr, nullptr,
                    [](const TPersistent& o) { return std::int64_t{static_cast<const TColumn&>(o).Alignment}; }});
    list.push_back({"Color", TPropKind::Integer, nullptr, nullptr,
                    [](const TPersistent& o) { return std::int64_t{static_cast<const TColumn&>(o).Color}; }});
    list.push_back({"Font", TPropKind::Object,
                    [](const TPersistent& o) -> TPersistent* { return &const_cast<TColumn&>(static_cast<const TColumn&>(o)).Font; },
                    nullptr, nullptr});
}

void TDBGrid::GetPublishedProperties(TPropList& list) const {
    TCustomControl::GetPublishedProperties(list);
    list.push_back({"Columns", TPropKind::Object,
                    [](const TPersistent& o) -> TPersistent* { return &const_cast<TDBGrid&>(static_cast<const TDBGrid&>(o)).Columns; },
                    nullptr, nullptr});
    list.push_back({"DataSource", TPropKind::Object,
                    [](const TPersistent& o) -> TPersistent* { return static_cast<const TDBGrid&>(o).dataSource_; },
                    nullptr, nullptr});
}

void TDBGrid::SetDataSource(TDataSource* dataSource) {
    if (dataSource_ != nullptr) RemoveFreeNotification(dataSource_);
    dataSource_ = dataSource;
    if (dataSource_ != nullptr) FreeNotification(dataSource_);
}

void TDBGrid::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == dataSource_) dataSource_ = nullptr;
}

}  // namespace mlt
