// TDvxCustomDBDataEngine walks a dataset: every operation first does what the base
// engine does (so the events still fire), then acts on GetDataset. BeforeExecute
// remembers the dataset's position as a bookmark and AfterExecute returns to it, so the
// user's current record is the same before and after a completed run. Column lookups go
// through the dataset's by-name lookup, which fails for a missing field; each column's
// field is looked up once per run and then found by the column in constant time. The
// fields found are forgotten when the dataset closes or opens again, so a dataset closed
// mid-run fails the next lookup with the dataset's own error.
// TDvxDatasetDataEngine binds the walk to a dataset given directly.
#pragma once

#include <unordered_map>
#include <utility>

#include "data/DataSet.h"
#include "export/DvxDataEngine.h"

namespace mlt {

class TDvxCustomDBDataEngine : public TDvxCustomDataEngine {
public:
    using TDvxCustomDataEngine::TDvxCustomDataEngine;
    std::string ClassName() const override { return "TDvxCustomDBDataEngine"; }

    virtual TDataSet* GetDataset() { return nullptr; }

    void EnableControls() override;
    void DisableControls() override;
    void BeforeExecute() override;
    void AfterExecute() override;
    // Appends one column per dataset field, hidden ones included; from the last field
    // backwards when rightToLeft.
    void FillColumns(TDvxColumns& columns, bool rightToLeft) override;
    bool Eof() override;
    void First() override;
    void Next() override;
    void GetValue(TDvxColumn& column, Variant& value) override;
    int GetRecordCount() override;
    TFieldType GetFieldType(TDvxColumn& column) override;
    bool IsFieldRequired(TDvxColumn& column) override;
    bool IsFieldReadOnly(TDvxColumn& column) override;
    TField* GetField(TDvxColumn& column) override;

private:
    TField& FieldOf(TDvxColumn& column);

    bool hasBookmark_ = false;
    TBookmark bookmark_;
    // Each column's field, found once; a column renamed since is looked up again.
    struct TCachedField {
        std::string FieldName;
        TField* Field = nullptr;
    };
    std::unordered_map<const TDvxColumn*, TCachedField> fieldCache_;
    TDataSet* cachedDataSet_ = nullptr;
    int cachedGeneration_ = 0;
};

class TDvxDatasetDataEngine : public TDvxCustomDBDataEngine {
public:
    using TDvxCustomDBDataEngine::TDvxCustomDBDataEngine;
    std::string ClassName() const override { return "TDvxDatasetDataEngine"; }

    TDataSet* GetDataset() override { return dataset_; }
    TDataSet* Dataset() const { return dataset_; }
    void SetDataset(TDataSet* dataset);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TDataSet* dataset_ = nullptr;
};

}  // namespace mlt
