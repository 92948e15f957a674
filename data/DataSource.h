// TDataSource: links controls to a dataset; it clears its pointer when the dataset goes.
#pragma once

#include "data/DataSet.h"

namespace mlt {

class TDataSource : public TComponent {
public:
    using TComponent::TComponent;
    std::string ClassName() const override { return "TDataSource"; }
    void GetPublishedProperties(TPropList& list) const override;

    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* dataSet);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TDataSet* dataSet_ = nullptr;
};

}  // namespace mlt
