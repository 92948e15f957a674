// Engines for grids reached only through published property names, so they work with
// grid classes this system does not link against. TDvxwwDBGridDataEngine builds columns
// from the grid's "Selected" string list; TDvxDBAdvStringGridDataEngine from the
// collection in its "Columns" (or "Fields") property. Both walk the whole dataset of the
// grid's "DataSource", whatever SelectedRecord says. Setting DBGrid to a control that is
// not of the engine's kind raises "Property %s is not specified." with its name.
#pragma once

#include "export/DvxDBDataEngine.h"
#include "export/GridKind.h"
#include "rtl/Control.h"

namespace mlt {

class TDvxWWGridDataEngineBase : public TDvxCustomDBDataEngine {
public:
    using TDvxCustomDBDataEngine::TDvxCustomDBDataEngine;

    TCustomControl* DBGrid() const { return grid_; }
    void SetDBGrid(TCustomControl* grid);
    TDataSet* GetDataset() override;

protected:
    virtual TGridKind Kind() const = 0;
    void Notification(TComponent* component, TOperation operation) override;

    TCustomControl* grid_ = nullptr;
};

class TDvxwwDBGridDataEngine : public TDvxWWGridDataEngineBase {
public:
    using TDvxWWGridDataEngineBase::TDvxWWGridDataEngineBase;
    std::string ClassName() const override { return "TDvxwwDBGridDataEngine"; }
    bool SupportsSelection() override { return true; }
    void FillColumns(TDvxColumns& columns, bool rightToLeft) override;

protected:
    TGridKind Kind() const override { return TGridKind::Selected; }
};

class TDvxDBAdvStringGridDataEngine : public TDvxWWGridDataEngineBase {
public:
    using TDvxWWGridDataEngineBase::TDvxWWGridDataEngineBase;
    std::string ClassName() const override { return "TDvxDBAdvStringGridDataEngine"; }
    void FillColumns(TDvxColumns& columns, bool rightToLeft) override;

protected:
    TGridKind Kind() const override { return TGridKind::Fields; }
};

}  // namespace mlt
