#include <gtest/gtest.h>

#include "export/DorvexToCellFile.h"
#include "export/DvxEngDB.h"
#include "export/DvxEngWW.h"
#include "rtl/Exception.h"
#include "rtl/Strings.h"
#include "TextDataSet.h"

using namespace mlt;
using mlt::test::FieldNames;
using mlt::test::MakeTextDataSet;
using mlt::test::WalkTexts;

namespace {

// Published properties with fixed values, for classes this system is not compiled against.
TPropInfo Obj(std::string name, TPersistent* value) {
    return {std::move(name), TPropKind::Object, [value](const TPersistent&) { return value; }, nullptr, nullptr};
}
TPropInfo Str(std::string name, std::string value) {
    return {std::move(name), TPropKind::String, nullptr, [value](const TPersistent&) { return value; }, nullptr};
}
TPropInfo Ord(std::string name, std::int64_t value) {
    return {std::move(name), TPropKind::Integer, nullptr, nullptr, [value](const TPersistent&) { return value; }};
}

// A grid, a title or a collection item that publishes whatever the test lists.
class FakeGrid : public TCustomControl {
public:
    FakeGrid(std::string name, TPropList props) : Props(std::move(props)) { Name = std::move(name); }
    void GetPublishedProperties(TPropList& list) const override {
        TCustomControl::GetPublishedProperties(list);
        list.insert(list.end(), Props.begin(), Props.end());
    }
    TPropList Props;
};

class FakeTitle : public TPersistent {
public:
    explicit FakeTitle(TPropList props) : Props(std::move(props)) {}
    void GetPublishedProperties(TPropList& list) const override { list = Props; }
    TPropList Props;
};

// A new item publishes the collection's ItemClass properties; a test may give it others.
class FakeItems : public TCollection {
public:
    explicit FakeItems(TPropList itemClass, bool unreadable = false) : ItemClass(std::move(itemClass)), Unreadable(unreadable) {}
    TCollectionItem& Add(TPropList props);
    TPropList ItemClass;
    bool Unreadable;

protected:
    std::unique_ptr<TCollectionItem> CreateItem() override;
};

class FakeItem : public TCollectionItem {
public:
    FakeItem(FakeItems* items) : TCollectionItem(items), Props(items->ItemClass) {}
    void GetPublishedProperties(TPropList& list) const override {
        if (static_cast<FakeItems*>(Collection())->Unreadable) throw Exception("cannot read the item class");
        list = Props;
    }
    TPropList Props;
};

std::unique_ptr<TCollectionItem> FakeItems::CreateItem() { return std::make_unique<FakeItem>(this); }
TCollectionItem& FakeItems::Add(TPropList props) {
    auto& item = static_cast<FakeItem&>(*AddItem());
    item.Props = std::move(props);
    return item;
}

// Four records a..d in F1 (declared size 12), F2 hidden, F3 (size 5) labelled and centred.
class DvxGridEngineTest : public ::testing::Test {
protected:
    DvxGridEngineTest() {
        dataset->FieldByName("F2").Visible = false;
        dataset->FieldByName("F3").DisplayLabel = "Third";
        dataset->FieldByName("F3").Alignment = taCenter;
        source.SetDataSet(dataset.get());
    }
    std::string BookmarkAt(int position) {
        dataset->First();
        for (int i = 0; i < position; ++i) dataset->Next();
        return dataset->GetBookmark();
    }

    std::unique_ptr<TADODataSet> dataset = MakeTextDataSet(
        {{"F1", 12}, {"F2", 4}, {"F3", 5}}, {{"a", "1", "w"}, {"b", "2", "x"}, {"c", "3", "y"}, {"d", "4", "z"}});
    TDataSource source;
    TDvxColumns columns;
};

}  // namespace

TEST(DvxGridClassification, NeedsADataSourceThenLooksAtColumnsSelectedAndFieldsInTurn) {
    TStrings strings;
    FakeItems fieldColumns({Str("FieldName", "")});
    EXPECT_EQ(ClassifyGrid(FakeGrid("G", {Obj("DataSource", nullptr), Obj("Columns", &fieldColumns), Obj("Selected", &strings)})),
              TGridKind::Columns);
    EXPECT_EQ(ClassifyGrid(TDBGrid()), TGridKind::Columns);
    EXPECT_EQ(ClassifyGrid(FakeGrid("G", {Obj("DataSource", nullptr), Obj("Selected", &strings), Obj("Fields", &strings)})),
              TGridKind::Selected);
    EXPECT_EQ(ClassifyGrid(FakeGrid("G", {Obj("DataSource", nullptr), Obj("Fields", nullptr)})), TGridKind::Fields);
    EXPECT_EQ(ClassifyGrid(FakeGrid("G", {Obj("DataSource", nullptr), Str("Selected", "")})), std::nullopt);
    EXPECT_EQ(ClassifyGrid(FakeGrid("G", {Str("DataSource", ""), Obj("Selected", &strings)})), std::nullopt);
    EXPECT_EQ(ClassifyGrid(TCustomControl()), std::nullopt);
}

TEST(DvxGridClassification, ColumnsThatAreNotFieldColumnsMakeTheGridUnsupported) {
    // "Selected" is published too, and must not be consulted once "Columns" is.
    FakeItems noFieldName({Ord("Color", 0)});
    FakeItems unreadable({Str("FieldName", "")}, true);
    TStrings notACollection;
    for (TPersistent* columns : std::initializer_list<TPersistent*>{&noFieldName, &unreadable, &notACollection, nullptr}) {
        FakeGrid grid("G", {Obj("DataSource", nullptr), Obj("Columns", columns), Obj("Selected", &notACollection)});
        EXPECT_EQ(ClassifyGrid(grid), std::nullopt) << (columns ? columns->ClassName() : "unassigned");
    }
}

TEST(DvxGridClassification, ColumnGridThatIsNoDBGridFailsTheRun) {
    FakeItems fieldColumns({Str("FieldName", "")});
    FakeGrid grid("G", {Obj("DataSource", nullptr), Obj("Columns", &fieldColumns)});
    TDorvexToCellFile exporter;
    exporter.SetDBGrid(&grid);
    try {
        exporter.CreateDataEngine();
        FAIL() << "a column grid of another class has no columns to export";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message, "Assigned DBGrid (G) is not a supported type");
    }
}

TEST_F(DvxGridEngineTest, DBGridEngineWalksOnlyTheSelectedRowsInSelectionOrder) {
    TDBGrid grid;
    grid.SetDataSource(&source);
    TDvxDBGridDataEngine engine;
    engine.SetDBGrid(&grid);
    int events = 0;
    engine.OnFirst = [&](TPersistent&) { ++events; };
    engine.OnNext = [&](TPersistent&, bool&) { ++events; };
    engine.SelectedRecord = true;

    BookmarkAt(1);
    EXPECT_EQ(engine.GetRecordCount(), 0);
    engine.First();
    EXPECT_TRUE(engine.Eof()) << "nothing selected: at the end at once";
    EXPECT_EQ(dataset->FieldByName("F1").Value().Bytes(), "b");

    grid.SelectedRows = {BookmarkAt(2), BookmarkAt(0)};
    EXPECT_EQ(engine.GetRecordCount(), 2);
    EXPECT_EQ(WalkTexts(engine, "F1"), (std::vector<std::string>{"c", "a"}));
    EXPECT_EQ(events, 0);

    engine.SelectedRecord = false;
    EXPECT_EQ(engine.GetRecordCount(), 4);
    EXPECT_EQ(WalkTexts(engine, "F1"), (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST_F(DvxGridEngineTest, DBGridEngineCopiesTheGridColumnsWithWidthsFromTheDataset) {
    auto grid = std::make_unique<TDBGrid>();
    grid->SetDataSource(&source);
    TColumn& known = grid->Columns.Add();
    known.FieldName = "F3";
    known.Alignment = taRightJustify;
    known.Color = 0x000000FF;
    known.Font.Name = "Courier New";
    known.Visible = false;
    known.Title = {"Three", taCenter, TFont(), 0x00FF0000};
    known.Title.Font.Size = 15;
    grid->Columns.Add().FieldName = "Ghost";
    TDvxDBGridDataEngine engine;
    engine.SetDBGrid(grid.get());
    int fired = 0;
    engine.OnFillColumns = [&](TPersistent&) { ++fired; };

    columns.Add().FieldName = "Stale";
    engine.FillColumns(columns, false);
    EXPECT_EQ(fired, 0);
    ASSERT_EQ(FieldNames(columns), (std::vector<std::string>{"F3", "Ghost"}));
    const TDvxColumn& built = columns.Items(0);
    EXPECT_EQ(built.Width, 5);
    EXPECT_EQ(built.Alignment, taRightJustify);
    EXPECT_EQ(built.Color, 0x000000FF);
    EXPECT_EQ(built.Font.Name, "Courier New");
    EXPECT_FALSE(built.Visible);
    EXPECT_EQ(built.Title.Caption, "Three");
    EXPECT_EQ(built.Title.Alignment, taCenter);
    EXPECT_EQ(built.Title.Font.Size, 15);
    EXPECT_EQ(built.Title.Color, 0x00FF0000);
    EXPECT_EQ(columns.Items(1).Width, 10) << "a field the dataset lacks";
    engine.FillColumns(columns, true);
    EXPECT_EQ(FieldNames(columns), (std::vector<std::string>{"Ghost", "F3"}));

    grid.reset();
    EXPECT_EQ(engine.DBGrid(), nullptr);
    EXPECT_EQ(engine.GetDataset(), nullptr);
}

TEST_F(DvxGridEngineTest, SelectedEngineFillsAnEmptySelectionWithTheVisibleFields) {
    TStrings selected;
    TFont font, titleFont;
    font.Name = "Verdana";
    titleFont.Style = fsItalic;
    FakeGrid grid("wwGrid1", {Obj("DataSource", &source), Obj("Selected", &selected), Ord("Color", 0x00123456),
                              Obj("Font", &font), Obj("TitleFont", &titleFont)});
    TDvxwwDBGridDataEngine engine;
    engine.SetDBGrid(&grid);

    engine.FillColumns(columns, false);
    // Name, Tab, display width, Tab, caption; the hidden F2 is left out.
    EXPECT_EQ(selected.Lines, (std::vector<std::string>{"F1\t12\tF1", "F3\t5\tThird"}));
    ASSERT_EQ(FieldNames(columns), (std::vector<std::string>{"F1", "F3"}));
    const TDvxColumn& third = columns.Items(1);
    EXPECT_EQ(third.Width, 5);
    EXPECT_EQ(third.Alignment, taCenter);
    EXPECT_EQ(third.Title.Alignment, taCenter);
    EXPECT_EQ(third.Title.Caption, "Third");
    EXPECT_EQ(third.Color, 0x00123456);
    EXPECT_EQ(third.Font.Name, "Verdana");
    EXPECT_EQ(third.Title.Font.Style, fsItalic);
    EXPECT_EQ(third.Title.Color, 0xC0C0C0);
    EXPECT_EQ(WalkTexts(engine, "F1"), (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST_F(DvxGridEngineTest, SelectedEngineTakesEachLinesFieldAndSkipsUnknownOnes) {
    TStrings selected;
    selected.Lines = {"F3\t99\tIgnored", "Missing\t4\tM", "F2"};
    FakeGrid grid("wwGrid1", {Obj("DataSource", &source), Obj("Selected", &selected)});
    TDvxwwDBGridDataEngine engine;
    engine.SetDBGrid(&grid);

    engine.FillColumns(columns, true);
    ASSERT_EQ(FieldNames(columns), (std::vector<std::string>{"F2", "F3"}));
    EXPECT_FALSE(columns.Items(0).Visible);
    EXPECT_EQ(columns.Items(1).Width, 5) << "the width comes from the field, not the line";
    EXPECT_EQ(columns.Items(1).Color, 0xFFFFFF) << "no grid colour: the column keeps its own";
    EXPECT_EQ(selected.Count(), 3);
}

TEST_F(DvxGridEngineTest, FieldsEngineReadsOnlyWhatTheItemsPublish) {
    TFont font, titleFont;
    font.Size = 13;
    titleFont.Name = "Georgia";
    FakeTitle title({Str("Caption", "Three"), Ord("Alignment", taCenter), Ord("Color", 0x00778899), Obj("Font", &titleFont)});
    FakeItems items({Str("FieldName", "")});
    items.Add({Str("FieldName", "F3"), Ord("Alignment", taRightJustify), Ord("Color", 0x00445566), Obj("Font", &font),
               Ord("Visible", 0), Obj("Title", &title)});
    items.Add({Str("FieldName", "Ghost"), Str("Title", "Spooky")});
    FakeGrid grid("AdvGrid1", {Obj("DataSource", &source), Obj("Fields", &items)});
    TDvxDBAdvStringGridDataEngine engine;
    engine.SetDBGrid(&grid);

    engine.FillColumns(columns, false);
    ASSERT_EQ(FieldNames(columns), (std::vector<std::string>{"F3", "Ghost"}));
    const TDvxColumn& full = columns.Items(0);
    EXPECT_EQ(full.Width, 5);
    EXPECT_EQ(full.Alignment, taRightJustify);
    EXPECT_EQ(full.Color, 0x00445566);
    EXPECT_EQ(full.Font.Size, 13);
    EXPECT_FALSE(full.Visible);
    EXPECT_EQ(full.Title.Caption, "Three");
    EXPECT_EQ(full.Title.Alignment, taCenter);
    EXPECT_EQ(full.Title.Color, 0x00778899);
    EXPECT_EQ(full.Title.Font.Name, "Georgia");
    // A text "Title" is the caption; what an item does not publish keeps its default.
    const TDvxColumn& sparse = columns.Items(1);
    EXPECT_EQ(sparse.Title.Caption, "Spooky");
    EXPECT_EQ(sparse.Width, 10);
    EXPECT_EQ(sparse.Color, 0xFFFFFF);
    EXPECT_TRUE(sparse.Visible);
    EXPECT_EQ(sparse.Title.Color, 0xC0C0C0);

    engine.FillColumns(columns, true);
    EXPECT_EQ(FieldNames(columns), (std::vector<std::string>{"Ghost", "F3"}));
}

TEST_F(DvxGridEngineTest, PropertyNameEnginesRefuseGridsOfAnotherKindAndKeepTheirGrid) {
    TStrings strings;
    FakeGrid selectedGrid("wwGrid1", {Obj("DataSource", &source), Obj("Selected", &strings)});
    FakeGrid fieldsGrid("AdvGrid1", {Obj("DataSource", &source), Obj("Fields", nullptr)});
    TDBGrid dbGrid;

    TDvxwwDBGridDataEngine selectedEngine;
    selectedEngine.SetDBGrid(&selectedGrid);
    try {
        selectedEngine.SetDBGrid(&fieldsGrid);
        FAIL() << "a field-list grid was accepted";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message, "Property AdvGrid1 is not specified.");
    }
    EXPECT_THROW(selectedEngine.SetDBGrid(&dbGrid), Exception);
    EXPECT_EQ(selectedEngine.DBGrid(), &selectedGrid);

    TDvxDBAdvStringGridDataEngine fieldsEngine;
    fieldsEngine.SetDBGrid(&fieldsGrid);
    EXPECT_THROW(fieldsEngine.SetDBGrid(&selectedGrid), Exception);
    EXPECT_EQ(fieldsEngine.DBGrid(), &fieldsGrid);
    fieldsEngine.SetDBGrid(nullptr);
    EXPECT_EQ(fieldsEngine.DBGrid(), nullptr);

    auto doomed = std::make_unique<FakeGrid>("wwGrid2", selectedGrid.Props);
    selectedEngine.SetDBGrid(doomed.get());
    EXPECT_EQ(selectedEngine.GetDataset(), dataset.get());
    doomed.reset();
    EXPECT_EQ(selectedEngine.DBGrid(), nullptr);
}
