// TDorvexBaseComponent: binds an exporter to a data source (a grid control, a dataset or
// a user-supplied data engine), holds the columns and the output file name, and runs an
// export through a fixed pipeline: PrepareExecute, ExportData, FinishExecute.
//
// Execute never lets an exception of the framework's family escape: it records
// ExportResult Failed and LastError, and shows a message only with soShowMessage.
// Exceptions outside the family (std::bad_alloc, ...) pass through. After a failure the
// rest of the run is skipped, FinishExecute included (no OnAfterExecute, no after-export
// action), but AbandonExecute undoes what the run changed: the columns it built, its
// format settings, the disabled controls, the cursor, the window and the engine. So every
// run starts afresh, whether the one before it failed or not.
//
// The constructor cannot see a descendant's GetDefaultExt (C++ dispatches virtual calls
// to the class under construction); a class that overrides it calls SetDefaultFileName
// in its own constructor.
#pragma once

#include <functional>

#include "data/DataSet.h"
#include "export/DvxCustomBaseComponent.h"
#include "export/DvxDataEngine.h"
#include "export/GridKind.h"
#include "rtl/Control.h"

namespace mlt {

enum TColumnSource { csDBGrid, csDataSet, csDataEngine };
enum TActionAfterExport { aeNone, aeOpenView, aeEMail };
enum TDvxLayout { elColumnar, elReversedColumnar, elTabularForm };

using TDvxGetNextSelected = std::function<void(TPersistent& sender, int index, void*& selected)>;
using TDvxGetSelectedCount = std::function<void(TPersistent& sender, int& count)>;
using TDvxSpecificationEvent = std::function<void(TPersistent& sender, std::string& fileName)>;

// The file extension of an export-format code (".PDF" for 17); empty for codes without.
std::string TableTypeExtension(int code);

class TDorvexBaseComponent : public TDvxCustomBaseComponent {
public:
    explicit TDorvexBaseComponent(TComponent* owner = nullptr);
    ~TDorvexBaseComponent() override;
    std::string ClassName() const override { return "TDorvexBaseComponent"; }
    void Assign(const TPersistent& source) override;

    void SetTableType(std::uint8_t value) override;

    TCustomControl* DBGrid() const { return dbGrid_; }
    // Validates the control's kind; an unsupported one raises and keeps the old grid.
    void SetDBGrid(TCustomControl* grid);
    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* dataSet);
    TDvxCustomDataEngine* DataEngine() const { return dataEngine_; }
    void SetDataEngine(TDvxCustomDataEngine* engine);

    void Execute();
    bool WithinRecordLimit(int count) const { return RecordLimit <= 0 || count < RecordLimit; }

    virtual void CreateDataEngine();
    virtual void FreeDataEngine();
    virtual void PrepareExecute();
    virtual void FinishExecute();
    virtual void DoActionAfterExport();
    // Undoes what the failed run changed so far; nothing when no run is under way.
    void AbandonExecute();

    TDvxColumns Columns{this};
    TColumnSource ColumnSource = csDBGrid;
    TDvxGetNextSelected OnGetNextSelected;
    TDvxGetSelectedCount OnGetSelectedCount;
    TDvxSpecificationEvent OnBeforeLoadSpecification;
    TDvxSpecificationEvent OnAfterLoadSpecification;
    TDvxSpecificationEvent OnBeforeSaveSpecification;
    TDvxSpecificationEvent OnAfterSaveSpecification;

    TActionAfterExport ActionAfterExport = aeNone;
    std::string FileName;
    TDvxLayout Layout = elColumnar;

    TDvxCustomDataEngine* CurrentEngine = nullptr;
    int RecordCount = 0;
    int VisibleColumnCount = 0;
    bool ColumnsDefined = false;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    // FileName := the host executable's folder + "Dorvex" + GetDefaultExt.
    void SetDefaultFileName();

private:
    // What the running PrepareExecute changed, for AbandonExecute.
    struct TRunChanges {
        bool Settings = false;
        bool Controls = false;
        bool WaitCursor = false;
        bool Columns = false;
    };
    TRunChanges changes_;

    TCustomControl* dbGrid_ = nullptr;
    TDataSet* dataSet_ = nullptr;
    TDvxCustomDataEngine* dataEngine_ = nullptr;
    TGridKind gridKind_ = TGridKind::Columns;
    bool ownsEngine_ = false;
};

}  // namespace mlt
