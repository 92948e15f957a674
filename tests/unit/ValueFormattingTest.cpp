#include <gtest/gtest.h>

#include "export/DorvexToCellFile.h"
#include "tests/support/TestData.h"

using namespace mlt;

namespace {

// One record of every kind that formatting distinguishes.
std::unique_ptr<TADODataSet> Kinds(std::vector<Variant> row) {
    std::vector<TColumnDescriptor> columns = {
        test::TypedColumn("I", adInteger),  test::TypedColumn("F", adDouble),    test::TypedColumn("M", adCurrency),
        test::TypedColumn("B", adBoolean),  test::TypedColumn("D", adDBDate),    test::TypedColumn("T", adDBTime),
        test::TypedColumn("DT", adDate),    test::TextColumn("S"),               test::TypedColumn("W", adVarWChar),
    };
    return test::MakeDataSet(columns, {std::move(row)});
}

std::vector<Variant> Values() {
    return {Variant::Integer(-42),
            Variant::Double(1234.5),
            Variant::BCD(1234567),  // 123.4567
            Variant::Boolean(true),
            Variant::Date(EncodeDate(2024, 12, 31)),
            Variant::Date(EncodeTime(23, 5, 0)),
            Variant::Date(EncodeDate(2024, 1, 2) + EncodeTime(3, 4, 5)),
            Variant::String("caf\xE9"),
            Variant::WideString(u"\u00FCber \u20AC")};
}

std::string Text(TDvxCustomBaseComponent& exporter, TDataSet& data, const char* name) {
    std::string text;
    exporter.GetFieldText(&data.FieldByName(name), text);
    return text;
}

}  // namespace

TEST(ValueFormatting, PlainTextsOfEveryKind) {
    auto data = Kinds(Values());
    TDorvexToCellFile exporter;
    exporter.Options = soDisableControls;
    EXPECT_EQ(Text(exporter, *data, "I"), "-42");
    EXPECT_EQ(Text(exporter, *data, "F"), "1234.5");
    EXPECT_EQ(Text(exporter, *data, "M"), "123.4567");
    EXPECT_EQ(Text(exporter, *data, "B"), "True");
    EXPECT_EQ(Text(exporter, *data, "D"), "12/31/2024");
    EXPECT_EQ(Text(exporter, *data, "T"), "11:05:00 PM");
    EXPECT_EQ(Text(exporter, *data, "DT"), "1/2/2024 3:04:05 AM");
    EXPECT_EQ(Text(exporter, *data, "S"), "caf\xE9");
    EXPECT_EQ(Text(exporter, *data, "W"), "\xFC" "ber \x80") << "wide text arrives in Windows-1252";
    std::string text = "stale";
    exporter.GetFieldText(nullptr, text);
    EXPECT_EQ(text, "");
}

TEST(ValueFormatting, BooleanTextsNeedTheFieldMask) {
    auto data = Kinds(Values());
    TDorvexToCellFile exporter;
    exporter.DataFormats.BooleanTrue = "Yes";
    exporter.DataFormats.BooleanFalse = "No";
    exporter.Options = soDisableControls;
    EXPECT_EQ(Text(exporter, *data, "B"), "True");
    exporter.Options |= soFieldMask;
    EXPECT_EQ(Text(exporter, *data, "B"), "Yes");

    auto nulls = Kinds(std::vector<Variant>(9, Variant::Null()));
    EXPECT_EQ(Text(exporter, *nulls, "B"), "No") << "a null Boolean reads as false";
    exporter.BlankIfZero = true;
    EXPECT_EQ(Text(exporter, *nulls, "B"), "") << "and is blanked as null";
}

TEST(ValueFormatting, BlankIfZeroBlanksZerosAndNulls) {
    std::vector<Variant> zeros = {Variant::Integer(0), Variant::Double(0), Variant::BCD(0), Variant::Boolean(false),
                                  Variant::Date(0), Variant::Date(0), Variant::Date(0), Variant::String("0"),
                                  Variant::WideString(u"0")};
    auto data = Kinds(zeros);
    TDorvexToCellFile exporter;
    exporter.Options = soDisableControls;
    exporter.BlankIfZero = true;
    for (const char* name : {"I", "F", "M", "D", "T", "DT"}) EXPECT_EQ(Text(exporter, *data, name), "") << name;
    EXPECT_EQ(Text(exporter, *data, "S"), "0") << "text is blanked only when null";
    EXPECT_EQ(Text(exporter, *data, "B"), "False");

    auto nulls = Kinds(std::vector<Variant>(9, Variant::Null()));
    for (const char* name : {"I", "F", "D", "S", "W", "B"}) EXPECT_EQ(Text(exporter, *nulls, name), "") << name;

    // Text that a source could not read as its column's kind shows as stored.
    std::vector<Variant> stray(9, Variant::String("n/a"));
    stray[0] = Variant::String("0");
    auto odd = Kinds(stray);
    EXPECT_EQ(Text(exporter, *odd, "I"), "");
    EXPECT_EQ(Text(exporter, *odd, "F"), "n/a");
    EXPECT_EQ(Text(exporter, *odd, "DT"), "n/a");
}

TEST(ValueFormatting, SeparatorsOfTheRunApply) {
    auto data = Kinds(Values());
    TDorvexToCellFile exporter;
    exporter.ColumnSource = csDataSet;
    exporter.SetDataSet(data.get());
    exporter.AnimatedStatus = false;
    exporter.Options = 0;
    exporter.DataFormats.DecimalSeparator = ',';
    exporter.DataFormats.DateSeparator = '-';
    exporter.DataFormats.TimeSeparator = '.';
    exporter.PrepareExecute();
    EXPECT_EQ(Text(exporter, *data, "F"), "1234,5");
    EXPECT_EQ(Text(exporter, *data, "M"), "123,4567");
    EXPECT_EQ(Text(exporter, *data, "DT"), "1-2-2024 3.04.05 AM");
    exporter.FinishExecute();
    EXPECT_EQ(Text(exporter, *data, "F"), "1234.5") << "the process's settings hold again after the run";
}

TEST(ValueFormatting, CellTypesFollowKindAndBlankIfZero) {
    TDorvexToCellFile exporter;
    const Variant zero = Variant::Integer(0), seven = Variant::Integer(7);
    EXPECT_EQ(exporter.GetValueCellType(ftInteger, seven, false), ctInteger);
    EXPECT_EQ(exporter.GetValueCellType(ftInteger, seven, true), ctString);
    EXPECT_EQ(exporter.GetValueCellType(ftInteger, zero, true), ctBlank);
    EXPECT_EQ(exporter.GetValueCellType(ftFloat, Variant::Double(0.5), false), ctDouble);
    EXPECT_EQ(exporter.GetValueCellType(ftBCD, Variant::BCD(0), true), ctBlank);
    EXPECT_EQ(exporter.GetValueCellType(ftCurrency, zero, false), ctCurrency);
    EXPECT_EQ(exporter.GetValueCellType(ftDate, Variant::Date(0), true), ctBlank);
    EXPECT_EQ(exporter.GetValueCellType(ftTime, Variant::Date(0.5), false), ctTime);
    EXPECT_EQ(exporter.GetValueCellType(ftDateTime, Variant::Null(), true), ctBlank);
    EXPECT_EQ(exporter.GetValueCellType(ftDateTime, Variant(), false), ctDateTime);
    // Values judged from their text, as the driver does for engine values.
    EXPECT_EQ(exporter.GetValueCellType(ftSmallint, Variant::String("0"), true), ctBlank);
    EXPECT_EQ(exporter.GetValueCellType(ftSmallint, Variant::String("0.0"), true), ctString);
    // Text, Boolean and every other kind are strings whatever the value.
    EXPECT_EQ(exporter.GetValueCellType(ftString, Variant::String("0"), true), ctString);
    EXPECT_EQ(exporter.GetValueCellType(ftBoolean, Variant::Boolean(false), true), ctString);
    EXPECT_EQ(exporter.GetColumnCellType(nullptr, true), ctString);
}

TEST(ValueFormatting, RowColoursAlternateOnlyWithAStyle) {
    TDorvexToCellFile exporter;
    TColor color = 0x112233;
    exporter.GetRowColor(1, color);
    EXPECT_EQ(color, 0x112233);
    exporter.ColorStyle.SetStyle(esBrick);
    exporter.GetRowColor(1, color);
    EXPECT_EQ(color, 0x00CFDFDF);
    exporter.GetRowColor(2, color);
    EXPECT_EQ(color, 0x00A0BFBF);
    exporter.GetRowColor(-1, color);
    EXPECT_EQ(color, 0x00A0BFBF) << "a negative row keeps the remainder's sign: even";
}

TEST(ValueFormatting, OemConversionKeepsLengthAndMapsLatin1) {
    TDorvexToCellFile exporter;
    EXPECT_EQ(exporter.ConvertToOem(""), "");
    // ä 0x84, ñ 0xA4, ¿ 0xA8, £ 0x9C in code page 437; Š has no counterpart and drops its caron.
    EXPECT_EQ(exporter.ConvertToOem("\xE4\xF1\xBF\xA3\x8A" "A"), "\x84\xA4\xA8\x9C" "SA");
    EXPECT_EQ(exporter.ConvertToOem("\x80").size(), 1u);
}
