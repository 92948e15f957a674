#include "export/DvxDBDataEngine.h"

#include <gtest/gtest.h>

#include "rtl/Exception.h"
#include "TextDataSet.h"

using namespace mlt;
using mlt::test::FieldNames;
using mlt::test::MakeTextDataSet;
using mlt::test::WalkTexts;

namespace {

class DvxDBDataEngineTest : public ::testing::Test {
protected:
    DvxDBDataEngineTest() { engine.SetDataset(dataset.get()); }

    std::unique_ptr<TADODataSet> dataset =
        MakeTextDataSet({{"F1", 12}, {"F2", 4}, {"F3", 30}}, {{"a", "1", "x"}, {"b", "2", "y"}, {"c", "3", "z"}});
    TDvxDatasetDataEngine engine;
    TDvxColumns columns;
};

}  // namespace

TEST_F(DvxDBDataEngineTest, FillColumnsListsEveryFieldInOrderOrReversed) {
    dataset->FieldByName("F2").Visible = false;
    engine.FillColumns(columns, false);
    EXPECT_EQ(FieldNames(columns), (std::vector<std::string>{"F1", "F2", "F3"}));
    EXPECT_FALSE(columns.Items(1).Visible) << "a hidden field stays listed";
    EXPECT_TRUE(columns.Items(2).Visible);
    engine.FillColumns(columns, true);
    EXPECT_EQ(FieldNames(columns), (std::vector<std::string>{"F3", "F2", "F1"}));
}

TEST_F(DvxDBDataEngineTest, BuiltColumnTakesTheFieldsFactsAndTheFixedColours) {
    TField& f2 = dataset->FieldByName("F2");
    f2.DisplayLabel = "Second";
    f2.DisplayWidth = 7;
    f2.Alignment = taCenter;
    engine.FillColumns(columns, false);

    const TDvxColumn& built = columns.Items(1);
    EXPECT_EQ(built.Width, 7);
    EXPECT_EQ(built.Alignment, taCenter);
    EXPECT_EQ(built.Title.Alignment, taCenter);
    EXPECT_EQ(built.Title.Caption, "Second");
    EXPECT_EQ(built.Color, 0xFFFFFF);
    EXPECT_EQ(built.Title.Color, 0xC0C0C0);
    EXPECT_EQ(built.Title.Font.Style, fsBold);
    EXPECT_EQ(built.Title.Font.Size, TFont().Size) << "only bold is added";
    EXPECT_EQ(built.Font.Style, 0);
    EXPECT_EQ(columns.Items(0).Title.Caption, "F1") << "no label: the field name";
}

TEST_F(DvxDBDataEngineTest, FillColumnsFiresOnceFirstAndKeepsTheHandlersColumnsInFront) {
    columns.Add().FieldName = "Stale";
    int fired = 0;
    engine.OnFillColumns = [&](TPersistent& sender) {
        ++fired;
        EXPECT_EQ(&sender, &columns);
        EXPECT_EQ(columns.Count(), 0);
        columns.Add().FieldName = "Extra";
    };
    engine.FillColumns(columns, false);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(FieldNames(columns), (std::vector<std::string>{"Extra", "F1", "F2", "F3"}));

    // Neither a dataset without fields nor no dataset at all gives columns or fails.
    auto empty = MakeTextDataSet({}, {});
    engine.OnFillColumns = nullptr;
    engine.SetDataset(empty.get());
    engine.FillColumns(columns, false);
    EXPECT_EQ(columns.Count(), 0);
    engine.SetDataset(nullptr);
    engine.FillColumns(columns, true);
    EXPECT_EQ(columns.Count(), 0);
}

TEST_F(DvxDBDataEngineTest, RunWalksEveryRecordAndReturnsToTheOneThatWasCurrent) {
    dataset->Next();  // the user stands on "b"
    int firsts = 0;
    engine.OnFirst = [&](TPersistent& sender) { firsts += &sender == &engine; };
    engine.BeforeExecute();
    EXPECT_EQ(WalkTexts(engine, "F1"), (std::vector<std::string>{"a", "b", "c"}));
    engine.AfterExecute();
    EXPECT_EQ(firsts, 1);
    EXPECT_EQ(dataset->FieldByName("F1").Value().Bytes(), "b");
}

TEST_F(DvxDBDataEngineTest, ColumnLookupsFailClearlyForAMissingField) {
    TDvxColumn& missing = columns.Add();
    missing.FieldName = "Nope";
    Variant value;
    try {
        engine.GetValue(missing, value);
        FAIL() << "a missing field gave a value";
    } catch (const EDatabaseError& error) {
        EXPECT_NE(error.Message.find("Field 'Nope' not found"), std::string::npos) << error.Message;
    }
    EXPECT_THROW(engine.GetField(missing), EDatabaseError);
    EXPECT_THROW(engine.GetFieldType(missing), EDatabaseError);
    EXPECT_THROW(engine.IsFieldRequired(missing), EDatabaseError);
    EXPECT_THROW(engine.IsFieldReadOnly(missing), EDatabaseError);
}

TEST_F(DvxDBDataEngineTest, ColumnLookupsIgnoreCaseAndFollowADatasetChange) {
    TDvxColumn& column = columns.Add();
    column.FieldName = "f3";
    dataset->FieldByName("F3").Required = true;
    EXPECT_EQ(engine.GetField(column), &dataset->FieldByName("F3"));
    EXPECT_TRUE(engine.IsFieldRequired(column));

    auto other = MakeTextDataSet({{"F3", 5}}, {{"q"}});
    engine.SetDataset(other.get());
    EXPECT_EQ(engine.GetField(column), &other->FieldByName("F3"));
    other.reset();
    EXPECT_EQ(engine.Dataset(), nullptr) << "a destroyed dataset is forgotten";
}

TEST(DvxDBBaseEngine, WithoutHandlersAnswersAsAnEmptySource) {
    TDvxCustomDataEngine engine;
    TDvxColumns columns;
    TDvxColumn& column = columns.Add();
    engine.First();
    EXPECT_TRUE(engine.Eof());
    EXPECT_EQ(engine.GetRecordCount(), 0);
    Variant value = Variant::String("stale");
    engine.GetValue(column, value);
    EXPECT_TRUE(value.IsNull());
    EXPECT_EQ(engine.GetFieldType(column), ftString);
    EXPECT_EQ(engine.GetField(column), nullptr);
}
