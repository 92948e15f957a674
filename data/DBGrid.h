// TDBGrid: the minimal data grid that exports read. It shows a data source's dataset in
// columns with titles, has grid-line options, and keeps the bookmarks of selected rows.
// It publishes DataSource and Columns (a collection whose items publish FieldName), so
// the grid classification sees a standard grid.
#pragma once

#include <cstdint>
#include <vector>

#include "data/DataSource.h"
#include "rtl/Collection.h"
#include "rtl/Colors.h"
#include "rtl/Control.h"
#include "rtl/Font.h"

namespace mlt {

enum TDBGridOption : std::uint32_t {
    dgEditing = 1, dgAlwaysShowEditor = 2, dgTitles = 4, dgIndicator = 8, dgColumnResize = 16, dgColLines = 32,
    dgRowLines = 64, dgTabs = 128, dgRowSelect = 256, dgAlwaysShowSelection = 512, dgConfirmDelete = 1024,
    dgCancelOnExit = 2048, dgMultiSelect = 4096
};
using TDBGridOptions = std::uint32_t;

struct TColumnTitle {
    std::string Caption;
    TAlignment Alignment = taLeftJustify;
    TFont Font;
    TColor Color = clSilver;
};

class TColumn : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    std::string ClassName() const override { return "TColumn"; }
    void Assign(const TPersistent& source) override;
    void GetPublishedProperties(TPropList& list) const override;

    std::string FieldName;
    TAlignment Alignment = taLeftJustify;
    TColor Color = clWindow;
    TFont Font;
    bool Visible = true;
    TColumnTitle Title;
};

class TDBGridColumns : public TCollection {
public:
    std::string ClassName() const override { return "TDBGridColumns"; }
    TColumn& Add() { return static_cast<TColumn&>(*AddItem()); }
    TColumn& operator[](int index) const { return static_cast<TColumn&>(*Item(index)); }

protected:
    std::unique_ptr<TCollectionItem> CreateItem() override { return std::make_unique<TColumn>(this); }
};

class TDBGrid : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::string ClassName() const override { return "TDBGrid"; }
    void GetPublishedProperties(TPropList& list) const override;

    TDataSource* DataSource() const { return dataSource_; }
    void SetDataSource(TDataSource* dataSource);

    TDBGridColumns Columns;
    TDBGridOptions Options = dgEditing | dgTitles | dgIndicator | dgColumnResize | dgColLines | dgRowLines | dgTabs |
                             dgConfirmDelete | dgCancelOnExit;
    // Bookmarks of the selected rows, in selection order.
    std::vector<std::string> SelectedRows;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TDataSource* dataSource_ = nullptr;
};

}  // namespace mlt
