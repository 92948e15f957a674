// TDvxDBGridDataEngine: walks the dataset of a TDBGrid (grid, data source and dataset all
// assigned) and builds columns from the grid's columns. With SelectedRecord it visits
// only the grid's selected rows, in selection order.
#pragma once

#include "data/DBGrid.h"
#include "export/DvxDBDataEngine.h"

namespace mlt {

class TDvxDBGridDataEngine : public TDvxCustomDBDataEngine {
public:
    using TDvxCustomDBDataEngine::TDvxCustomDBDataEngine;
    std::string ClassName() const override { return "TDvxDBGridDataEngine"; }

    TDBGrid* DBGrid() const { return grid_; }
    void SetDBGrid(TDBGrid* grid);

    TDataSet* GetDataset() override;
    bool SupportsSelection() override { return true; }
    void FillColumns(TDvxColumns& columns, bool rightToLeft) override;
    bool Eof() override;
    void First() override;
    void Next() override;
    int GetRecordCount() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TDBGrid* grid_ = nullptr;
    int selectedIndex_ = 0;
};

}  // namespace mlt
