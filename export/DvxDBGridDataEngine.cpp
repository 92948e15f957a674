#include "export/DvxDBGridDataEngine.h"

#include "export/GridColumnWidth.h"

namespace mlt {

// With SelectedRecord the walk goes through the grid's selected bookmarks in selection
// order, keeping the index of the current one; the events of the plain walk do not fire.
namespace {

const std::vector<std::string>& SelectedRows(const TDBGrid* grid) {
    static const std::vector<std::string> none;
    return grid != nullptr ? grid->SelectedRows : none;
}

void GoToSelected(TDataSet* dataset, const std::vector<std::string>& rows, int index) {
    if (dataset != nullptr && index < static_cast<int>(rows.size()))
        dataset->GotoBookmark(rows[static_cast<std::size_t>(index)]);
}

}  // namespace

void TDvxDBGridDataEngine::SetDBGrid(TDBGrid* grid) {
    if (grid == grid_) return;
    if (grid_ != nullptr) RemoveFreeNotification(grid_);
    grid_ = grid;
    if (grid_ != nullptr) FreeNotification(grid_);
}

void TDvxDBGridDataEngine::Notification(TComponent* component, TOperation operation) {
    TDvxCustomDBDataEngine::Notification(component, operation);
    if (operation == TOperation::opRemove && component == grid_) grid_ = nullptr;
}

TDataSet* TDvxDBGridDataEngine::GetDataset() {
    if (grid_ == nullptr || grid_->DataSource() == nullptr) return nullptr;
    return grid_->DataSource()->DataSet();
}

void TDvxDBGridDataEngine::FillColumns(TDvxColumns& columns, bool rightToLeft) {
    // The grid's columns replace the list as they are; OnFillColumns is not fired.
    columns.Clear();
    if (grid_ == nullptr) return;
    const TDataSet* dataset = GetDataset();
    const int n = grid_->Columns.Count();
    for (int k = 0; k < n; ++k) {
        const TColumn& source = grid_->Columns[rightToLeft ? n - 1 - k : k];
        TDvxColumn& column = columns.Add();
        column.FieldName = source.FieldName;
        column.Alignment = source.Alignment;
        column.Color = source.Color;
        column.Font.Assign(source.Font);
        column.Visible = source.Visible;
        column.Width = GridColumnWidth(dataset, source.FieldName);
        column.Title.Caption = source.Title.Caption;
        column.Title.Alignment = source.Title.Alignment;
        column.Title.Font.Assign(source.Title.Font);
        column.Title.Color = source.Title.Color;
    }
}

bool TDvxDBGridDataEngine::Eof() {
    if (!SelectedRecord) return TDvxCustomDBDataEngine::Eof();
    return selectedIndex_ > static_cast<int>(SelectedRows(grid_).size()) - 1;
}

void TDvxDBGridDataEngine::First() {
    if (!SelectedRecord) {
        TDvxCustomDBDataEngine::First();
        return;
    }
    selectedIndex_ = 0;
    GoToSelected(GetDataset(), SelectedRows(grid_), selectedIndex_);
}

void TDvxDBGridDataEngine::Next() {
    if (!SelectedRecord) {
        TDvxCustomDBDataEngine::Next();
        return;
    }
    ++selectedIndex_;
    GoToSelected(GetDataset(), SelectedRows(grid_), selectedIndex_);
}

int TDvxDBGridDataEngine::GetRecordCount() {
    if (!SelectedRecord) return TDvxCustomDBDataEngine::GetRecordCount();
    return static_cast<int>(SelectedRows(grid_).size());
}

}  // namespace mlt
