#include "data/ADODataSet.h"

#include <gtest/gtest.h>

#include "data/MemoryRecordSource.h"
#include "rtl/Exception.h"

using namespace mlt;

namespace {

TColumnDescriptor Column(std::string name, int type, std::int64_t size = 0) {
    TColumnDescriptor c;
    c.Name = std::move(name);
    c.Type = type;
    c.DefinedSize = size;
    return c;
}

TColumnDescriptor Numeric(int type, int precision, int scale) {
    TColumnDescriptor c = Column("N", type);
    c.Precision = precision;
    c.NumericScale = scale;
    return c;
}

void ExpectDef(const TColumnDescriptor& column, TFieldType kind, int size, int dataSize) {
    std::optional<TAdoFieldDef> def = AdoFieldDef(column);
    ASSERT_TRUE(def) << "type " << column.Type;
    EXPECT_EQ(def->Kind, kind) << "type " << column.Type;
    EXPECT_EQ(def->Size, size) << "type " << column.Type;
    EXPECT_EQ(def->DataSize, dataSize) << "type " << column.Type;
}

std::unique_ptr<TMemoryRecordSource> Source(std::vector<TColumnDescriptor> columns,
                                            std::vector<std::vector<Variant>> rows = {}) {
    return std::make_unique<TMemoryRecordSource>(std::move(columns), std::move(rows));
}

std::vector<std::string> FieldNames(const TDataSet& ds) {
    std::vector<std::string> names;
    for (int i = 0; i < ds.FieldCount(); ++i) names.push_back(ds.Fields(i).FieldName);
    return names;
}

}  // namespace

TEST(ADODataSet, MapsEveryAdoTypeToItsFieldKindAndSizes) {
    // Texts keep DefinedSize and need one byte more; wide text is held by a 4-byte pointer.
    ExpectDef(Column("T", adVarChar, 40), ftString, 40, 41);
    ExpectDef(Column("T", adChar, 2), ftFixedChar, 2, 3);
    for (int type : {adBSTR, adWChar, adVarWChar}) ExpectDef(Column("T", type, 30), ftWideString, 30, 4);
    for (int type : {adSmallInt, adTinyInt}) ExpectDef(Column("T", type), ftSmallint, 0, 2);
    for (int type : {adUnsignedTinyInt, adUnsignedSmallInt}) ExpectDef(Column("T", type), ftWord, 0, 2);
    for (int type : {adInteger, adError, adUnsignedInt}) ExpectDef(Column("T", type), ftInteger, 0, 4);
    for (int type : {adBigInt, adUnsignedBigInt}) ExpectDef(Column("T", type), ftLargeint, 0, 8);
    for (int type : {adSingle, adDouble}) ExpectDef(Column("T", type), ftFloat, 0, 8);
    for (int type : {adCurrency, adDecimal, adVarNumeric}) ExpectDef(Numeric(type, 19, 4), ftBCD, 4, 34);
    ExpectDef(Column("T", adBoolean), ftBoolean, 0, 2);
    for (int type : {adDate, adFileTime, adDBTimeStamp, adDBFileTime}) ExpectDef(Column("T", type), ftDateTime, 0, 8);
    ExpectDef(Column("T", adDBDate), ftDate, 0, 4);
    ExpectDef(Column("T", adDBTime), ftTime, 0, 4);
    ExpectDef(Column("T", adGUID, 16), ftGuid, 38, 39);
    ExpectDef(Column("T", adBinary, 16), ftBytes, 16, 16);
    ExpectDef(Column("T", adVarBinary, 16), ftVarBytes, 16, 18);
    for (int type : {adLongVarChar, adLongVarWChar}) ExpectDef(Column("T", type, 1 << 30), ftMemo, 0, 0);
    ExpectDef(Column("T", adLongVarBinary, 1 << 30), ftBlob, 0, 0);
    TColumnDescriptor picture = Column("T", adLongVarBinary);
    picture.Graphic = true;
    ExpectDef(picture, ftGraphic, 0, 0);
    for (int type : {adVariant, adPropVariant}) ExpectDef(Column("T", type), ftVariant, 0, 0);
    ExpectDef(Column("T", adIUnknown), ftInterface, 0, 0);
    ExpectDef(Column("T", adIDispatch), ftIDispatch, 0, 0);
    ExpectDef(Column("T", adChapter), ftDataSet, 0, 0);
    for (int type : {int(adEmpty), int(adUserDefined), 999}) EXPECT_FALSE(AdoFieldDef(Column("T", type))) << type;
}

TEST(ADODataSet, NumericIsAnIntegerOnlyWithScaleZeroAndFewerThanTenDigits) {
    ExpectDef(Numeric(adNumeric, 9, 0), ftInteger, 0, 4);
    ExpectDef(Numeric(adNumeric, 10, 0), ftBCD, 0, 34);
    ExpectDef(Numeric(adNumeric, 5, 2), ftBCD, 2, 34);
    // The scale is a signed byte: 0xFF and 0x80 are negative and become 4, 0x7F stays.
    ExpectDef(Numeric(adNumeric, 5, 0xFF), ftBCD, 4, 34);
    ExpectDef(Numeric(adDecimal, 12, 0x80), ftBCD, 4, 34);
    ExpectDef(Numeric(adDecimal, 12, 0x7F), ftBCD, 127, 34);
}

TEST(ADODataSet, HidesRowIdAndUnknownColumnsAndKeepsValuesInPlace) {
    TColumnDescriptor rowId = Column("ROWID", adInteger);
    rowId.Attributes = adFldRowID;
    TADODataSet ds;
    ds.SetRecordset(Source({rowId, Column("Name", adVarChar, 20), Column("Odd", adUserDefined),
                            Column("Amount", adDouble)},
                           {{Variant::Integer(7), Variant::String("Ann"), Variant::Integer(1), Variant::Double(2.5)}}));
    EXPECT_EQ(FieldNames(ds), (std::vector<std::string>{"Name", "Amount"}));
    EXPECT_EQ(ds.FieldByName("Name").Value().Bytes(), "Ann");
    EXPECT_EQ(ds.FieldByName("Amount").AsFloat(), 2.5);
}

TEST(ADODataSet, NamesUnnamedAndDuplicateColumns) {
    auto names = [](std::vector<std::string> columnNames) {
        std::vector<TColumnDescriptor> columns;
        for (auto& name : columnNames) columns.push_back(Column(name, adInteger));
        TADODataSet ds;
        ds.SetRecordset(Source(columns));
        return FieldNames(ds);
    };
    using Names = std::vector<std::string>;
    EXPECT_EQ(names({"ID", "ID", "ID"}), (Names{"ID", "ID_1", "ID_2"}));
    // The source's own ID_1 is taken, so the second ID counts on to ID_2.
    EXPECT_EQ(names({"ID", "ID_1", "ID"}), (Names{"ID", "ID_1", "ID_2"}));
    // Names clash regardless of case; the number is the column's position.
    EXPECT_EQ(names({"Id", "ID", "", "Name", ""}), (Names{"Id", "ID_1", "COLUMN3", "Name", "COLUMN5"}));
}

TEST(ADODataSet, FindsFieldsIgnoringCaseAndReportsMissingOnes) {
    TADODataSet ds;
    ds.Name = "Orders";
    ds.SetRecordset(Source({Column("CustName", adVarChar, 10)}));
    EXPECT_EQ(&ds.FieldByName("custname"), &ds.Fields(0));
    EXPECT_EQ(ds.FindField("CUSTNAME"), &ds.Fields(0));
    EXPECT_EQ(ds.FindField("Cust"), nullptr);
    try {
        ds.FieldByName("Nope");
        FAIL() << "no error for a missing field";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message, "Orders: Field 'Nope' not found");
    }
}

TEST(ADODataSet, ReturnsToABookmarkedRecord) {
    std::vector<std::vector<Variant>> rows;
    for (int i = 0; i < 5; ++i) rows.push_back({Variant::Integer(i * 10)});
    TADODataSet ds;
    ds.SetRecordset(Source({Column("N", adInteger)}, rows));
    EXPECT_TRUE(ds.BookmarksSupported());
    ds.Next();
    ds.Next();
    TBookmark mark = ds.GetBookmark();
    while (!ds.Eof()) ds.Next();
    EXPECT_TRUE(ds.FieldByName("N").IsNull());  // no current record past the end
    ds.GotoBookmark(mark);
    EXPECT_FALSE(ds.Eof());
    EXPECT_FALSE(ds.Bof());
    EXPECT_EQ(ds.FieldByName("N").Value().IntegerValue(), 20);
    ds.First();
    EXPECT_TRUE(ds.Bof());
    EXPECT_EQ(ds.FieldByName("N").Value().IntegerValue(), 0);
    EXPECT_THROW(ds.GotoBookmark("99"), EDatabaseError);
}

TEST(ADODataSet, EmptySourceIsAtBofAndEofWithNullValues) {
    TADODataSet ds;
    ds.SetRecordset(Source({Column("N", adInteger)}));
    EXPECT_TRUE(ds.Bof());
    EXPECT_TRUE(ds.Eof());
    EXPECT_EQ(ds.RecordCount(), 0);
    EXPECT_TRUE(ds.Fields(0).IsNull());
    ds.Next();
    EXPECT_TRUE(ds.Eof());
}

TEST(ADODataSet, RefusesWorkWhileClosed) {
    TADODataSet ds;
    ds.SetRecordset(nullptr);
    EXPECT_FALSE(ds.Active());
    EXPECT_THROW(ds.Open(), EDatabaseError);
    try {
        ds.First();
        FAIL() << "First on a closed dataset";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message, "Cannot perform this operation on a closed dataset");
    }
    ds.SetRecordset(Source({Column("N", adInteger)}, {{Variant::Integer(1)}}));
    EXPECT_EQ(ds.FieldCount(), 1);
    ds.Close();
    EXPECT_EQ(ds.FieldCount(), 0);
    EXPECT_THROW(ds.Eof(), EDatabaseError);
    EXPECT_THROW(ds.Next(), EDatabaseError);
}
