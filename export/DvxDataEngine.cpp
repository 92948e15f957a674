#include "export/DvxDataEngine.h"

namespace mlt {

void TDvxCustomDataEngine::BeforeExecute() {
    if (OnBeforeExecute) OnBeforeExecute(*this);
}

void TDvxCustomDataEngine::AfterExecute() {
    if (OnAfterExecute) OnAfterExecute(*this);
}

void TDvxCustomDataEngine::FillColumns(TDvxColumns& columns, bool rightToLeft) {
    columns.Clear();
    if (OnFillColumns) OnFillColumns(columns);
}

void TDvxCustomDataEngine::First() {
    if (OnFirst) OnFirst(*this);
}

void TDvxCustomDataEngine::Next() {
    if (OnNext) OnNext(*this, Abort);
}

void TDvxCustomDataEngine::GetValue(TDvxColumn& column, Variant& value) { value = Variant::Null(); }

int TDvxCustomDataEngine::GetRecordCount() {
    int count = 0;
    if (OnCount) OnCount(*this, count);
    return count;
}

TFieldType TDvxCustomDataEngine::GetFieldType(TDvxColumn& column) { return ftString; }

}  // namespace mlt
