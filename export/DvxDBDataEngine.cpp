#include "export/DvxDBDataEngine.h"

#include "rtl/Exception.h"
#include "rtl/TextUtils.h"

namespace mlt {

void TDvxCustomDBDataEngine::EnableControls() {
    TDvxCustomDataEngine::EnableControls();
    if (TDataSet* dataset = GetDataset()) dataset->EnableControls();
}

void TDvxCustomDBDataEngine::DisableControls() {
    TDvxCustomDataEngine::DisableControls();
    if (TDataSet* dataset = GetDataset()) dataset->DisableControls();
}

void TDvxCustomDBDataEngine::BeforeExecute() {
    TDvxCustomDataEngine::BeforeExecute();
    fieldCache_.clear();
    cachedDataSet_ = nullptr;
    TDataSet* dataset = GetDataset();
    hasBookmark_ = false;
    // A source that cannot go back (a forward-only cursor) keeps no position to restore.
    if (dataset != nullptr && dataset->BookmarksSupported()) {
        bookmark_ = dataset->GetBookmark();
        hasBookmark_ = true;
    }
}

void TDvxCustomDBDataEngine::AfterExecute() {
    TDvxCustomDataEngine::AfterExecute();
    TDataSet* dataset = GetDataset();
    if (dataset != nullptr && hasBookmark_) {
        dataset->GotoBookmark(bookmark_);
        dataset->FreeBookmark(bookmark_);
    }
    hasBookmark_ = false;
    fieldCache_.clear();
}

void TDvxCustomDBDataEngine::FillColumns(TDvxColumns& columns, bool rightToLeft) {
    TDvxCustomDataEngine::FillColumns(columns, rightToLeft);
    TDataSet* dataset = GetDataset();
    if (dataset == nullptr) return;
    const int n = dataset->FieldCount();
    for (int k = 0; k < n; ++k) {
        TField& field = dataset->Fields(rightToLeft ? n - 1 - k : k);
        TDvxColumn& column = columns.Add();
        column.Alignment = field.Alignment;
        column.FieldName = field.FieldName;
        column.Color = clWhite;
        column.Width = field.DisplayWidth;
        column.Visible = field.Visible;
        column.Title.Caption = field.DisplayName();
        column.Title.Alignment = field.Alignment;
        column.Title.Font.Style |= fsBold;
        column.Title.Color = clSilver;
    }
}

bool TDvxCustomDBDataEngine::Eof() {
    bool inherited = TDvxCustomDataEngine::Eof();
    TDataSet* dataset = GetDataset();
    return inherited && (dataset == nullptr || dataset->Eof());
}

void TDvxCustomDBDataEngine::First() {
    TDvxCustomDataEngine::First();
    if (TDataSet* dataset = GetDataset()) dataset->First();
}

void TDvxCustomDBDataEngine::Next() {
    TDvxCustomDataEngine::Next();
    if (TDataSet* dataset = GetDataset()) dataset->Next();
}

TField& TDvxCustomDBDataEngine::FieldOf(TDvxColumn& column) {
    TDataSet* dataset = GetDataset();
    if (dataset == nullptr) throw EDatabaseError("Cannot perform this operation on a closed dataset");
    if (dataset != cachedDataSet_ || dataset->Generation() != cachedGeneration_) {
        fieldCache_.clear();
        cachedDataSet_ = dataset;
        cachedGeneration_ = dataset->Generation();
    }
    TCachedField& cached = fieldCache_[&column];
    if (cached.Field == nullptr || cached.FieldName != column.FieldName) {
        cached.Field = &dataset->FieldByName(column.FieldName);
        cached.FieldName = column.FieldName;
    }
    return *cached.Field;
}

void TDvxCustomDBDataEngine::GetValue(TDvxColumn& column, Variant& value) { value = FieldOf(column).Value(); }

int TDvxCustomDBDataEngine::GetRecordCount() {
    TDataSet* dataset = GetDataset();
    return dataset != nullptr ? dataset->RecordCount() : 0;
}

TFieldType TDvxCustomDBDataEngine::GetFieldType(TDvxColumn& column) { return FieldOf(column).DataType(); }

bool TDvxCustomDBDataEngine::IsFieldRequired(TDvxColumn& column) { return FieldOf(column).Required; }

bool TDvxCustomDBDataEngine::IsFieldReadOnly(TDvxColumn& column) { return FieldOf(column).ReadOnly; }

TField* TDvxCustomDBDataEngine::GetField(TDvxColumn& column) { return &FieldOf(column); }

void TDvxDatasetDataEngine::SetDataset(TDataSet* dataset) {
    if (dataset_ != nullptr) RemoveFreeNotification(dataset_);
    dataset_ = dataset;
    if (dataset_ != nullptr) FreeNotification(dataset_);
}

void TDvxDatasetDataEngine::Notification(TComponent* component, TOperation operation) {
    TDvxCustomDBDataEngine::Notification(component, operation);
    if (operation == TOperation::opRemove && component == dataset_) dataset_ = nullptr;
}

}  // namespace mlt
