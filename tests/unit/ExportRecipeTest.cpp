#include "component/ExportRecipe.h"

#include <gtest/gtest.h>

#include "tests/support/TestData.h"

using namespace mlt;

namespace {

// Four fields: text of declared size 50, a 32-bit integer, a double and a date-time.
std::unique_ptr<TADODataSet> FourFields() {
    return test::MakeDataSet({test::TextColumn("Name", 50), test::TypedColumn("Qty", adInteger),
                              test::TypedColumn("Price", adDouble), test::TypedColumn("When", adDate)},
                             {});
}

TMarrowlintideSettings Defaults() {
    TMarrowlintideSettings settings;
    settings.ApplyDefaults();
    return settings;
}

std::vector<int> Widths(TDorvexToPDF& exporter) {
    std::vector<int> widths;
    for (int i = 0; i < exporter.Columns.Count(); ++i) widths.push_back(exporter.Columns.Items(i).Width);
    return widths;
}

}  // namespace

TEST(ExportRecipe, WidthsComeFromTheListOrTheField) {
    auto data = FourFields();
    TMarrowlintideSettings settings = Defaults();
    // Empty list: declared size, then data size (text 50; integer 4, double 8, date-time 8).
    EXPECT_EQ(Widths(*CreateReportWriter(TReportDescription(settings), *data)), (std::vector<int>{50, 4, 8, 8}));
    // Listed: an empty, unreadable or missing item falls straight back to the data size (text 51).
    settings.FieldsWidth = "10,,x";
    EXPECT_EQ(Widths(*CreateReportWriter(TReportDescription(settings), *data)), (std::vector<int>{10, 4, 8, 8}));
    settings.FieldsWidth = ",-5";
    EXPECT_EQ(Widths(*CreateReportWriter(TReportDescription(settings), *data)), (std::vector<int>{51, -5, 8, 8})) << "negatives pass";
}

TEST(ExportRecipe, CaptionsAndAlignments) {
    auto data = FourFields();
    TMarrowlintideSettings settings = Defaults();
    settings.FieldsCaption = "Customer,, Unit";
    settings.FieldsAlignment = "r,C,left";
    auto exporter = CreateReportWriter(TReportDescription(settings), *data);
    const auto& c = exporter->Columns;
    EXPECT_EQ(c.Items(0).Title.Caption, "Customer");
    EXPECT_EQ(c.Items(1).Title.Caption, "Qty");
    EXPECT_EQ(c.Items(2).Title.Caption, " Unit");
    EXPECT_EQ(c.Items(3).Title.Caption, "When");
    const TAlignment expected[] = {taRightJustify, taCenter, taLeftJustify, taLeftJustify};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(c.Items(i).Alignment, expected[i]) << i;
        EXPECT_EQ(c.Items(i).Title.Alignment, expected[i]) << i;
    }
    // Without a list the columns keep their own defaults.
    auto plain = CreateReportWriter(TReportDescription(Defaults()), *data);
    EXPECT_EQ(plain->Columns.Items(1).Alignment, taLeftJustify);
    EXPECT_EQ(plain->Columns.Items(1).FieldName, "Qty");
}

TEST(ExportRecipe, TransfersTheSettings) {
    auto data = FourFields();
    TMarrowlintideSettings settings = Defaults();
    settings.OddColor = 0x010203;
    settings.EvenColor = 0x040506;
    settings.SetPageSize(595, 842);
    settings.TrueString = "Yes";
    settings.DateFormat = 2;
    settings.FourDigitYear = false;
    settings.ShowCaption = false;
    settings.BlankIfZero = true;
    auto e = CreateReportWriter(TReportDescription(settings, 3), *data);
    EXPECT_EQ(e->ColorStyle.Style(), esBrick);
    EXPECT_EQ(e->ColorStyle.OddColor, 0x010203) << "the style does not overwrite the component's colours";
    EXPECT_EQ(e->ColorStyle.EvenColor, 0x040506);
    EXPECT_EQ(e->PageWidth, 595);
    EXPECT_EQ(e->PageHeight, 842);
    EXPECT_EQ(e->CaptionColor, -1);
    EXPECT_EQ(e->DataSet(), data.get());
    EXPECT_EQ(e->RecordLimit, 3);
    EXPECT_EQ(e->DataFormats.BooleanTrue, "Yes");
    EXPECT_EQ(e->DataFormats.DateOrder, doDMY);
    EXPECT_FALSE(e->DataFormats.FourDigitYear);
    EXPECT_FALSE(e->AddTitle);
    EXPECT_EQ(e->Options, soDisableControls);
    EXPECT_FALSE(e->AnimatedStatus);
    EXPECT_EQ(e->ColumnSource, csDataSet);
    EXPECT_TRUE(e->BlankIfZero);
    EXPECT_EQ(e->KeyGenerator, "Marrowlintide");
}

TEST(ExportRecipe, DateOrderAndCaptionColourOnlyWhenSet) {
    auto data = FourFields();
    TMarrowlintideSettings settings = Defaults();
    for (int selector : {0, 7, -1}) {
        settings.DateFormat = selector;
        EXPECT_EQ(CreateReportWriter(TReportDescription(settings), *data)->DataFormats.DateOrder, doMDY) << selector;
    }
    const TDvxDateOrder orders[] = {doMDY, doDMY, doYMD, doYDM, doDYM, doMYD};
    for (int selector = 1; selector <= 6; ++selector) {
        settings.DateFormat = selector;
        EXPECT_EQ(CreateReportWriter(TReportDescription(settings), *data)->DataFormats.DateOrder, orders[selector - 1]);
    }
    settings.CaptionColor = 0;
    EXPECT_EQ(CreateReportWriter(TReportDescription(settings), *data)->CaptionColor, 0) << "black is a colour, not 'unset'";
}

TEST(ComponentSettings, ZeroAtCreationDefaultsAfterReset) {
    TMarrowlintideSettings settings;
    EXPECT_EQ(settings.PageWidth, 0);
    EXPECT_EQ(settings.CaptionColor, 0);
    EXPECT_FALSE(settings.ShowCaption);
    EXPECT_EQ(settings.TrueString, "");
    settings.PageWidth = 1000;
    settings.ApplyDefaults();
    EXPECT_EQ(settings.PageWidth, 612);
    EXPECT_EQ(settings.PageHeight, 792);
    EXPECT_EQ(settings.OddColor, 15921906);
    EXPECT_EQ(settings.EvenColor, 16777215);
    EXPECT_EQ(settings.DateFormat, -1);
    EXPECT_EQ(settings.CaptionColor, -1);
    EXPECT_TRUE(settings.ShowCaption);
    EXPECT_TRUE(settings.FourDigitYear);
    EXPECT_EQ(settings.DateTimeFormat, "d/M/yyyy h:mm");
    EXPECT_EQ(settings.TimeFormat, "h:mm");
    EXPECT_EQ(settings.CurrencyFormat, "$");
    EXPECT_EQ(settings.FalseString, "False");
}
