#include "export/DvxColumn.h"

#include <gtest/gtest.h>

#include "rtl/Exception.h"

using namespace mlt;

namespace {

// Every setting away from its default, the title's and both fonts' included.
void Customise(TDvxColumn& column) {
    column.FieldName = "Amount";
    column.Color = 0x00336699;
    column.Width = 17;
    column.Alignment = taRightJustify;
    column.Visible = false;
    column.Font.Name = "Courier New";
    column.Font.Size = 11;
    column.Font.Style = fsItalic;
    column.Title.Caption = "Total";
    column.Title.Alignment = taCenter;
    column.Title.Color = 0x00FFEEDD;
    column.Title.Font.Name = "Times New Roman";
    column.Title.Font.Color = 0x0000FF00;
    column.Title.Font.Style = fsBold | fsStrikeOut;
}

void ExpectSameColumn(const TDvxColumn& a, const TDvxColumn& b) {
    EXPECT_EQ(a.FieldName, b.FieldName);
    EXPECT_EQ(a.Color, b.Color);
    EXPECT_EQ(a.Width, b.Width);
    EXPECT_EQ(a.Alignment, b.Alignment);
    EXPECT_EQ(a.Visible, b.Visible);
    EXPECT_EQ(a.Title.Caption, b.Title.Caption);
    EXPECT_EQ(a.Title.Alignment, b.Title.Alignment);
    EXPECT_EQ(a.Title.Color, b.Title.Color);
    for (auto [x, y] : {std::pair{&a.Font, &b.Font}, std::pair{&a.Title.Font, &b.Title.Font}}) {
        EXPECT_EQ(x->Name, y->Name);
        EXPECT_EQ(x->Size, y->Size);
        EXPECT_EQ(x->Color, y->Color);
        EXPECT_EQ(x->Style, y->Style);
    }
}

}  // namespace

TEST(DvxColumn, AssignCopiesEverySettingAndTheTitleUnderTheUpdateCount) {
    TDvxColumns sources, targets;
    TDvxColumn& source = sources.Add();
    Customise(source);
    TDvxColumn& target = targets.Add();
    targets.BeginUpdate();

    target.Assign(source);
    ExpectSameColumn(target, source);
    EXPECT_EQ(targets.UpdateCount(), 1) << "raised and lowered again";

    // The copy owns its fonts.
    source.Title.Font.Name = "Symbol";
    EXPECT_EQ(target.Title.Font.Name, "Times New Roman");
}

TEST(DvxColumn, AssignFromAnotherClassFailsAndChangesNothing) {
    TDvxColumns columns;
    TDvxColumn& column = columns.Add();
    Customise(column);
    TDvxColumn& untouched = columns.Add();
    Customise(untouched);

    try {
        column.Assign(column.Title);
        FAIL() << "a title was assigned to a column";
    } catch (const EAssignError& error) {
        EXPECT_EQ(error.Message, "Cannot assign a TDvxColumnTitle to a TDvxColumn.");
    }
    EXPECT_THROW(column.Title.Assign(column), EAssignError);
    EXPECT_THROW(column.Title.Assign(column.Font), EAssignError);
    ExpectSameColumn(column, untouched);
    EXPECT_EQ(columns.UpdateCount(), 0);
}
