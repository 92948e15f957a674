#include "data/CsvRecordSource.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "data/ADODataSet.h"
#include "rtl/Exception.h"

using namespace mlt;
namespace fs = std::filesystem;

namespace {

class CsvSource : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("mlt_csv_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& bytes) {
        std::string path = (dir_ / "data.csv").string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // Every record's values as text, as the file holds them after conversion.
    static std::vector<std::vector<std::string>> Texts(TCsvRecordSource& source) {
        std::vector<std::vector<std::string>> rows;
        std::vector<Variant> values;
        for (source.First(); !source.Eof(); source.Next()) {
            source.ReadRow(values);
            rows.emplace_back();
            for (const Variant& v : values) rows.back().push_back(v.Bytes());
        }
        return rows;
    }

    std::string ErrorOf(const std::string& bytes, TCsvOptions options = {}) {
        try {
            TCsvRecordSource source(Write(bytes), options);
        } catch (const EDatabaseError& e) {
            return e.Message;
        }
        return "no EDatabaseError";
    }

    fs::path dir_;
};

using Rows = std::vector<std::vector<std::string>>;

}  // namespace

TEST_F(CsvSource, ReadsQuotedFieldsWithCommasQuotesAndLineBreaks) {
    TCsvRecordSource source(Write("name,note\r\n"
                                  "\"Smith, Ann\",\"said \"\"hi\"\"\"\r\n"
                                  "plain,\"two\r\nlines\"\r\n"
                                  "\"\",\"x\"y\r\n"
                                  "last,\n"
                                  "\n"
                                  "end,no newline"));
    EXPECT_EQ(Texts(source), (Rows{{"Smith, Ann", "said \"hi\""},
                                   {"plain", "two\r\nlines"},
                                   {"", "xy"},  // text after a closing quote is kept
                                   {"last", ""},
                                   {"end", "no newline"}}));  // the empty line is skipped
    EXPECT_EQ(source.RecordCount(), 5);
}

TEST_F(CsvSource, NamesColumnsFromTheHeaderAndSizesThemByTheLongestValue) {
    // A byte order mark, UTF-8 names and values; é and ü count as one character each.
    TCsvRecordSource source(Write("\xEF\xBB\xBF" "Stadt,Code\nZürich,1\nGenève,12345\n,\n"));
    std::vector<TColumnDescriptor> columns = source.Columns();
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_EQ(columns[0].Name, "Stadt");
    EXPECT_EQ(columns[0].Type, adVarChar);
    EXPECT_EQ(columns[0].DefinedSize, 6);
    EXPECT_EQ(columns[1].DefinedSize, 5);
    EXPECT_EQ(Texts(source), (Rows{{"Z\xFCrich", "1"}, {"Gen\xE8ve", "12345"}, {"", ""}}));
}

TEST_F(CsvSource, WithoutHeaderTheFirstRecordIsDataAndColumnsAreNumbered) {
    TADODataSet ds;
    ds.SetRecordset(std::make_unique<TCsvRecordSource>(Write("a,b\nc,d\n"), TCsvOptions{false, {}}));
    ASSERT_EQ(ds.FieldCount(), 2);
    EXPECT_EQ(ds.Fields(0).FieldName, "COLUMN1");
    EXPECT_EQ(ds.Fields(1).FieldName, "COLUMN2");
    EXPECT_EQ(ds.RecordCount(), 2);
    EXPECT_EQ(ds.Fields(0).Value().Bytes(), "a");

    TCsvRecordSource empty(Write(""));
    EXPECT_TRUE(empty.Columns().empty());
    EXPECT_TRUE(empty.Eof());
}

TEST_F(CsvSource, RejectsRaggedRecordsAndUnterminatedQuotesWithFileAndLine) {
    std::string path = (dir_ / "data.csv").string();
    // The quoted line break makes the ragged record start on line 4.
    EXPECT_EQ(ErrorOf("a,b\n1,\"x\ny\"\n3\n"), path + ": line 4: 1 fields where the header has 2");
    EXPECT_EQ(ErrorOf("a,b\n1,2,3\n"), path + ": line 2: 3 fields where the header has 2");
    EXPECT_EQ(ErrorOf("1,2\r\n3,4,5\r\n", {false, {}}), path + ": line 2: 3 fields where the first record has 2");
    EXPECT_EQ(ErrorOf("a,b\r\n1,\"open\r\n2,3\r\n"), path + ": line 2: unterminated quoted field");
}

TEST_F(CsvSource, ReadsTypedColumnsAndPassesUnreadableCellsOnAsText) {
    TCsvRecordSource source(Write("n,r,d,t,b,s\n"
                                  " 42 ,-1.5e3,2024-02-29,2024-03-07T15:04:09.5,Yes,x\n"
                                  "9999999999,abc,2023-02-29,25:00,maybe,\n"
                                  ",,,,,\n"),
                            {true, ParseCsvTypes("int,real,datetime,time,bool")});
    std::vector<int> types;
    for (const TColumnDescriptor& c : source.Columns()) types.push_back(c.Type);
    EXPECT_EQ(types, (std::vector<int>{adInteger, adDouble, adDBTimeStamp, adDBTime, adBoolean, adVarChar}));
    std::vector<Variant> v;
    source.ReadRow(v);
    EXPECT_EQ(v[0].Type(), VarType::Integer);
    EXPECT_EQ(v[0].IntegerValue(), 42);
    EXPECT_EQ(v[1].DoubleValue(), -1500);
    EXPECT_EQ(v[2].Type(), VarType::Date);
    EXPECT_DOUBLE_EQ(v[2].DoubleValue(), EncodeDate(2024, 2, 29));
    EXPECT_DOUBLE_EQ(v[3].DoubleValue(), EncodeTime(15, 4, 9, 500));  // the date is dropped
    EXPECT_TRUE(v[4].AsBoolean());
    source.Next();
    source.ReadRow(v);
    // Out of 32-bit range, not a number, no 29 February in 2023, no hour 25, no Boolean.
    for (int i = 0; i < 5; ++i) EXPECT_EQ(v[static_cast<std::size_t>(i)].Type(), VarType::String) << i;
    EXPECT_EQ(v[0].Bytes(), "9999999999");
    EXPECT_EQ(v[2].Bytes(), "2023-02-29");
    EXPECT_EQ(v[5].Bytes(), "");  // an empty text stays text
    source.Next();
    source.ReadRow(v);
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(v[static_cast<std::size_t>(i)].IsNull()) << i;
}

TEST_F(CsvSource, ChecksTheTypeList) {
    EXPECT_EQ(ParseCsvTypes("INT,,Date"), (std::vector<TCsvType>{TCsvType::Integer, TCsvType::Text, TCsvType::Date}));
    EXPECT_TRUE(ParseCsvTypes("").empty());
    EXPECT_THROW(ParseCsvTypes("int,number"), EDatabaseError);
    std::string path = (dir_ / "data.csv").string();
    EXPECT_EQ(ErrorOf("a\n1\n", {true, ParseCsvTypes("int,int")}), path + ": 2 column types given for 1 columns");
}

TEST_F(CsvSource, ReturnsToBookmarkedRecords) {
    TCsvRecordSource source(Write("n\n1\n\"2\n2\"\n3\n"));
    auto current = [&] {
        std::vector<Variant> v;
        source.ReadRow(v);
        return v[0].Bytes();
    };
    std::string first = source.Bookmark();
    source.Next();
    std::string second = source.Bookmark();
    EXPECT_EQ(second, "4");  // "n\n1\n" comes before it
    source.Next();
    source.Next();
    EXPECT_TRUE(source.Eof());
    std::string end = source.Bookmark();
    source.GotoBookmark(second);
    EXPECT_EQ(current(), "2\n2");
    source.GotoBookmark(first);
    EXPECT_EQ(current(), "1");
    source.GotoBookmark(end);
    EXPECT_TRUE(source.Eof());
    EXPECT_THROW(source.GotoBookmark("1"), EDatabaseError);  // inside the header
    EXPECT_THROW(source.GotoBookmark("999"), EDatabaseError);
    EXPECT_THROW(source.GotoBookmark("4x"), EDatabaseError);
}
