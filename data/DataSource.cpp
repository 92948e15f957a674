#include "data/DataSource.h"

namespace mlt {

void TDataSource::GetPublishedProperties(TPropList& list) const {
    TComponent::GetPublishedProperties(list);
    list.push_back({"DataSet", TPropKind::Object,
                    [](const TPersistent& o) -> TPersistent* { return static_cast<const TDataSource&>(o).dataSet_; },
                    nullptr, nullptr});
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
    if (dataSet_ != nullptr) RemoveFreeNotification(dataSet_);
    dataSet_ = dataSet;
    if (dataSet_ != nullptr) FreeNotification(dataSet_);
}

void TDataSource::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == dataSet_) dataSet_ = nullptr;
}

}  // namespace mlt
