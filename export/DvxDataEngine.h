// TDvxCustomDataEngine: the cursor protocol through which every export reads records:
// First, Next, Eof, the record count, and for a column its field or its value. The base
// engine is driven by events alone and answers as an empty source: Eof at once, a count
// of 0, Null values, text fields. Descendants walk a dataset or a grid.
#pragma once

#include <functional>

#include "data/Field.h"
#include "export/DvxColumn.h"
#include "rtl/Component.h"
#include "rtl/Variant.h"

namespace mlt {

using TNotifyEvent = std::function<void(TPersistent& sender)>;

class TDvxCustomDataEngine : public TComponent {
public:
    using TComponent::TComponent;
    std::string ClassName() const override { return "TDvxCustomDataEngine"; }

    virtual bool SupportsSelection() { return false; }
    virtual void EnableControls() {}
    virtual void DisableControls() {}
    virtual void BeforeExecute();
    virtual void AfterExecute();
    // Empties the columns and fires OnFillColumns with the collection as sender.
    virtual void FillColumns(TDvxColumns& columns, bool rightToLeft);
    virtual bool Eof() { return true; }
    virtual void First();
    virtual void Next();
    virtual void GetValue(TDvxColumn& column, Variant& value);
    virtual int GetRecordCount();
    virtual TFieldType GetFieldType(TDvxColumn& column);
    virtual bool IsFieldRequired(TDvxColumn& column) { return false; }
    virtual bool IsFieldReadOnly(TDvxColumn& column) { return false; }
    virtual TField* GetField(TDvxColumn& column) { return nullptr; }

    // Walk only the selected records of a grid; set by the exporter before each run.
    bool SelectedRecord = false;
    bool Abort = false;

    TNotifyEvent OnFirst;
    std::function<void(TPersistent& sender, bool& abort)> OnNext;
    std::function<void(TPersistent& sender, int& count)> OnCount;
    TNotifyEvent OnBeforeExecute;
    TNotifyEvent OnAfterExecute;
    TNotifyEvent OnFillColumns;
    std::function<void(TPersistent& sender, TDvxColumn& column, Variant& value)> OnGetValue;
};

}  // namespace mlt
