#include "data/SqliteRecordSource.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "data/ADODataSet.h"
#include "rtl/DateTime.h"
#include "rtl/Exception.h"

using namespace mlt;
namespace fs = std::filesystem;

namespace {

class SqliteSource : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("mlt_sqlite_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        path_ = (dir_ / "test.db").string();
    }
    void TearDown() override { fs::remove_all(dir_); }

    void Exec(const std::string& sql) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
        char* error = nullptr;
        int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
        std::string message = error ? error : "";
        sqlite3_free(error);
        sqlite3_close(db);
        ASSERT_EQ(rc, SQLITE_OK) << message;
    }

    // The first row's values of a query.
    std::vector<Variant> Row(const std::string& sql) {
        auto source = TSqliteRecordSource::Open(path_, sql);
        std::vector<Variant> values;
        source->ReadRow(values);
        return values;
    }

    fs::path dir_;
    std::string path_;
};

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EDatabaseError& e) {
        return e.Message;
    }
    return "no EDatabaseError";
}

}  // namespace

TEST_F(SqliteSource, MapsDeclaredTypesToAdoTypes) {
    Exec("CREATE TABLE t (a VARCHAR(40), b char (2), c NVARCHAR(30), d NCHAR(3), e TEXT, f integer, g BIGINT,"
         " h SMALLINT, i TINYINT, j REAL, k FLOAT, l DOUBLE, m DECIMAL ( 12 , 2 ), n NUMERIC(5,0), o MONEY,"
         " p BOOLEAN, q DATE, r DATETIME, s TIMESTAMP, t TIME, u BLOB, v GRAPHIC, w IMAGE, x VARCHAR)");
    auto source = TSqliteRecordSource::Open(path_, "SELECT * FROM t");
    struct Expected {
        int Type;
        std::int64_t Size;
        int Precision, Scale;
        bool Graphic;
    };
    const std::vector<Expected> expected = {
        {adVarChar, 40, 0, 0, false},  {adChar, 2, 0, 0, false},     {adVarWChar, 30, 0, 0, false},
        {adWChar, 3, 0, 0, false},     {adVarChar, 255, 0, 0, false}, {adInteger, 0, 0, 0, false},
        {adBigInt, 0, 0, 0, false},    {adSmallInt, 0, 0, 0, false},  {adTinyInt, 0, 0, 0, false},
        {adDouble, 0, 0, 0, false},    {adDouble, 0, 0, 0, false},    {adDouble, 0, 0, 0, false},
        {adNumeric, 0, 12, 2, false},  {adNumeric, 0, 5, 0, false},   {adCurrency, 0, 19, 4, false},
        {adBoolean, 0, 0, 0, false},   {adDBDate, 0, 0, 0, false},    {adDBTimeStamp, 0, 0, 0, false},
        {adDBTimeStamp, 0, 0, 0, false}, {adDBTime, 0, 0, 0, false},  {adLongVarBinary, 0, 0, 0, false},
        {adLongVarBinary, 0, 0, 0, true}, {adLongVarBinary, 0, 0, 0, true}, {adVarChar, 255, 0, 0, false},
    };
    std::vector<TColumnDescriptor> columns = source->Columns();
    ASSERT_EQ(columns.size(), expected.size());
    for (std::size_t i = 0; i < columns.size(); ++i) {
        SCOPED_TRACE(columns[i].Name);
        EXPECT_EQ(columns[i].Type, expected[i].Type);
        EXPECT_EQ(columns[i].DefinedSize, expected[i].Size);
        EXPECT_EQ(columns[i].Precision, expected[i].Precision);
        EXPECT_EQ(columns[i].NumericScale, expected[i].Scale);
        EXPECT_EQ(columns[i].Graphic, expected[i].Graphic);
    }
    // Through the dataset: DECIMAL(12,2) is BCD of scale 2, NUMERIC(5,0) a 32-bit integer.
    TADODataSet ds;
    ds.SetRecordset(std::move(source));
    EXPECT_EQ(ds.FieldByName("m").DataType(), ftBCD);
    EXPECT_EQ(ds.FieldByName("m").Size(), 2);
    EXPECT_EQ(ds.FieldByName("n").DataType(), ftInteger);
    EXPECT_EQ(ds.FieldByName("v").DataType(), ftGraphic);
    EXPECT_EQ(ds.FieldByName("u").DataType(), ftBlob);
}

TEST_F(SqliteSource, TypesExpressionsAndUnknownTypesByTheFirstRow) {
    Exec("CREATE TABLE t (j JSON); INSERT INTO t VALUES (12)");
    auto source = TSqliteRecordSource::Open(path_, "SELECT 1 + 1, 2.5 * 2, 'a' || 'b', x'00', NULL, j FROM t");
    std::vector<int> types;
    for (const TColumnDescriptor& c : source->Columns()) types.push_back(c.Type);
    EXPECT_EQ(types, (std::vector<int>{adBigInt, adDouble, adVarChar, adLongVarBinary, adVarChar, adBigInt}));
    // Without rows there is nothing to go by: text.
    auto empty = TSqliteRecordSource::Open(path_, "SELECT 1 + 1 FROM t WHERE 0");
    EXPECT_EQ(empty->Columns()[0].Type, adVarChar);
}

TEST_F(SqliteSource, ConvertsNumbersToTheKindOfTheirColumn) {
    Exec("CREATE TABLE t (s SMALLINT, i INTEGER, b BIGINT, r REAL, d DECIMAL(12,2), n NUMERIC(5,0), m MONEY,"
         " f BOOLEAN);"
         "INSERT INTO t VALUES (-7, 2147483647, 9000000000, 3, 12.345, 42.0, 1.5, 2);"
         "INSERT INTO t VALUES (100000, 'abc', 1.5, 'n/a', 7, NULL, x'41', 0)");
    std::vector<Variant> v = Row("SELECT * FROM t ORDER BY rowid");
    EXPECT_EQ(v[0].Type(), VarType::SmallInt);
    EXPECT_EQ(v[0].IntegerValue(), -7);
    EXPECT_EQ(v[1].Type(), VarType::Integer);
    EXPECT_EQ(v[1].IntegerValue(), 2147483647);
    EXPECT_EQ(v[2].Type(), VarType::Int64);
    EXPECT_EQ(v[2].IntegerValue(), 9000000000);
    EXPECT_EQ(v[3].Type(), VarType::Double);  // REAL affinity already made 3 a real
    EXPECT_EQ(v[4].Type(), VarType::BCD);
    EXPECT_EQ(v[4].IntegerValue(), 123450);  // 12.345 x 10000, unrounded to the scale
    EXPECT_EQ(v[5].Type(), VarType::Integer);
    EXPECT_EQ(v[5].IntegerValue(), 42);
    EXPECT_EQ(v[6].Type(), VarType::Currency);
    EXPECT_EQ(v[6].IntegerValue(), 15000);
    EXPECT_EQ(v[7].Type(), VarType::Boolean);
    EXPECT_TRUE(v[7].AsBoolean());

    // Values that do not fit their column arrive as their text; NULL as Null.
    auto source = TSqliteRecordSource::Open(path_, "SELECT * FROM t ORDER BY rowid");
    source->Next();
    source->ReadRow(v);
    for (auto [column, text] : std::vector<std::pair<int, std::string>>{{0, "100000"}, {1, "abc"}, {2, "1.5"},
                                                                        {3, "n/a"}, {6, "A"}}) {
        EXPECT_EQ(v[column].Type(), VarType::String) << column;
        EXPECT_EQ(v[column].Bytes(), text) << column;
    }
    EXPECT_EQ(v[4].IntegerValue(), 70000);
    EXPECT_TRUE(v[5].IsNull());
    EXPECT_FALSE(v[7].AsBoolean());
}

TEST_F(SqliteSource, ReadsDatesAsIsoTextUnixSecondsOrJulianDays) {
    Exec("CREATE TABLE t (d DATE, dt DATETIME, tm TIME);"
         "INSERT INTO t VALUES ('2024-03-07', '2024-03-07 15:04:09.250', '15:04');"
         "INSERT INTO t VALUES (86400, 2451544.5, '2024-03-07T06:30:00');"
         "INSERT INTO t VALUES ('1899-12-29 06:00', 'soon', NULL)");
    auto source = TSqliteRecordSource::Open(path_, "SELECT * FROM t ORDER BY rowid");
    std::vector<Variant> v;
    source->ReadRow(v);
    EXPECT_EQ(v[0].Type(), VarType::Date);
    EXPECT_DOUBLE_EQ(v[0].DoubleValue(), EncodeDate(2024, 3, 7));
    EXPECT_DOUBLE_EQ(v[1].DoubleValue(), EncodeDate(2024, 3, 7) + EncodeTime(15, 4, 9, 250));
    EXPECT_DOUBLE_EQ(v[2].DoubleValue(), EncodeTime(15, 4, 0));  // a time keeps no date
    source->Next();
    source->ReadRow(v);
    EXPECT_DOUBLE_EQ(v[0].DoubleValue(), EncodeDate(1970, 1, 2));  // one day after the epoch
    EXPECT_DOUBLE_EQ(v[1].DoubleValue(), EncodeDate(2000, 1, 1));  // julian day 2451544.5
    EXPECT_DOUBLE_EQ(v[2].DoubleValue(), EncodeTime(6, 30, 0));
    source->Next();
    source->ReadRow(v);
    EXPECT_DOUBLE_EQ(v[0].DoubleValue(), -1.25);  // the day before the epoch, 6 o'clock
    EXPECT_EQ(v[1].Type(), VarType::String);
    EXPECT_EQ(v[1].Bytes(), "soon");
    EXPECT_TRUE(v[2].IsNull());
}

// Moments outside the years 1 to 9999 are no dates: they arrive as the text stored.
TEST_F(SqliteSource, ReadsMomentsOutsideTheDateRangeAsTheirText) {
    Exec("CREATE TABLE t (dt DATETIME); INSERT INTO t VALUES (9223372036854775807), (-9223372036854775808),"
         " (1e300), (-1e300), (5373484.5), ('10000-01-01')");
    auto source = TSqliteRecordSource::Open(path_, "SELECT * FROM t ORDER BY rowid");
    std::vector<Variant> v;
    for (const char* text : {"9223372036854775807", "-9223372036854775808", "1.0e+300", "-1.0e+300", "5373484.5",
                             "10000-01-01"}) {
        source->ReadRow(v);
        EXPECT_EQ(v[0].Type(), VarType::String) << text;
        EXPECT_EQ(v[0].Bytes(), text);
        source->Next();
    }
}

// Plain ISO texts are read without SQLite, the rest through julianday(): either way a
// text must give the date that its julianday() number gives.
TEST_F(SqliteSource, ReadsDateTextsAsJuliandayDoes) {
    Exec("CREATE TABLE t (text DATE, jd DATE);"
         "INSERT INTO t SELECT x, julianday(x) FROM (SELECT column1 AS x FROM (VALUES"
         " ('2024-02-29'), ('2023-02-29'), ('1900-02-29'), ('2000-02-29'), ('2024-04-31'), ('0001-01-01'),"
         " ('9999-12-31 23:59:59'), ('1899-12-29 06:00'), ('1899-12-30T12:00:01'), ('2024-03-07 24:00:00'),"
         " ('2024-03-07 23:60'), ('2024-03-07 12:30:5'), ('2024-3-7'), ('2024-03-07Z'), ('1492-10-12 08:15:30'),"
         " ('2024-03-07 10:00:00.5'), (' 2024-03-07'), ('2024-03-07x10:00'), ('2024-13-01')))");
    auto source = TSqliteRecordSource::Open(path_, "SELECT text, jd FROM t ORDER BY rowid");
    std::vector<Variant> v;
    for (; !source->Eof(); source->Next()) {
        source->ReadRow(v);
        SCOPED_TRACE(v[0].Type() == VarType::String ? v[0].Bytes() : std::to_string(v[0].DoubleValue()));
        if (v[1].IsNull()) {
            EXPECT_EQ(v[0].Type(), VarType::String);  // no date at all: shown as stored
        } else {
            EXPECT_EQ(v[0].Type(), VarType::Date);
            EXPECT_EQ(v[0].DoubleValue(), v[1].DoubleValue());
        }
    }
}

TEST_F(SqliteSource, TurnsUtf8IntoWindows1252AtTheEdge) {
    Exec("CREATE TABLE t (\"Größe\" VARCHAR(20), w NVARCHAR(10), r REAL);"
         "INSERT INTO t VALUES ('Zoë Müller €5', 'Łódź', 'Łódź')");
    TADODataSet ds;
    ds.SetRecordset(TSqliteRecordSource::Open(path_, "SELECT * FROM t"));
    EXPECT_EQ(ds.Fields(0).FieldName, "Gr\xF6\xDF" "e");
    EXPECT_EQ(ds.Fields(0).Value().Bytes(), "Zo\xEB M\xFCller \x80" "5");
    EXPECT_EQ(ds.Fields(1).Value().Wide(), u"Łódź");
    TFormatSettings settings;
    // Letters that Windows-1252 lacks become "?"; the text of a REAL column shows as is.
    EXPECT_EQ(ds.Fields(1).AsString(settings), "?\xF3" "d?");
    EXPECT_EQ(ds.Fields(2).AsString(settings), "?\xF3" "d?");
}

TEST_F(SqliteSource, KeepsPicturesByteForByte) {
    Exec("CREATE TABLE p (name TEXT, picture GRAPHIC); INSERT INTO p VALUES ('a', x'424D00FF0000'), ('b', NULL)");
    auto source = TSqliteRecordSource::Open(path_, "SELECT picture FROM p ORDER BY name");
    std::vector<Variant> v;
    source->ReadRow(v);
    EXPECT_EQ(v[0].Type(), VarType::Blob);
    EXPECT_EQ(v[0].Bytes(), std::string("BM\0\xFF\0\0", 6));
    source->Next();
    source->ReadRow(v);
    EXPECT_TRUE(v[0].IsNull());
}

TEST_F(SqliteSource, RestartsCountsAndReturnsToBookmarks) {
    Exec("CREATE TABLE t (n INTEGER);"
         "WITH RECURSIVE c(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM c WHERE i < 9) INSERT INTO t SELECT i FROM c");
    auto source = TSqliteRecordSource::Open(path_, "SELECT n FROM t WHERE n >= 5 ORDER BY n DESC; -- newest first");
    auto current = [&] {
        std::vector<Variant> v;
        source->ReadRow(v);
        return v[0].IntegerValue();
    };
    EXPECT_EQ(source->RecordCount(), 5);
    source->Next();
    source->Next();
    std::string mark = source->Bookmark();
    EXPECT_EQ(current(), 7);
    while (!source->Eof()) source->Next();
    std::string end = source->Bookmark();
    source->First();
    EXPECT_EQ(current(), 9);
    source->GotoBookmark(mark);
    EXPECT_EQ(current(), 7);
    source->GotoBookmark(end);
    EXPECT_TRUE(source->Eof());
    source->GotoBookmark(mark);  // backwards from the end
    EXPECT_EQ(current(), 7);
    EXPECT_THROW(source->GotoBookmark("6"), EDatabaseError);
    EXPECT_THROW(source->GotoBookmark("x"), EDatabaseError);

    // A statement that cannot be a subquery is counted by walking it.
    EXPECT_EQ(TSqliteRecordSource::Open(path_, "PRAGMA table_info(t)")->RecordCount(), 1);
}

TEST_F(SqliteSource, ReportsSqliteFailuresClearly) {
    std::string missing = (dir_ / "missing.db").string();
    EXPECT_EQ(ErrorOf([&] { TSqliteRecordSource::Open(missing, "SELECT 1"); }),
              "cannot open database " + missing + ": unable to open database file");
    EXPECT_FALSE(fs::exists(missing));

    Exec("CREATE TABLE t (n INTEGER)");
    EXPECT_NE(ErrorOf([&] { TSqliteRecordSource::Open(path_, "SELEC n FROM t"); }).find("syntax error"),
              std::string::npos);
    EXPECT_NE(ErrorOf([&] { TSqliteRecordSource::Open(path_, "SELECT 1; SELECT 2"); }).find("more than one"),
              std::string::npos);
    EXPECT_NE(ErrorOf([&] { TSqliteRecordSource::Open(path_, "  "); }).find("empty"), std::string::npos);

    std::string text = (dir_ / "notes.txt").string();
    std::FILE* f = std::fopen(text.c_str(), "w");
    std::fputs("this is no database, but long enough to have a header of one hundred bytes..............", f);
    std::fclose(f);
    EXPECT_EQ(ErrorOf([&] { TSqliteRecordSource::Open(text, "SELECT 1"); }),
              "cannot open database " + text + ": file is not a database");
}

TEST_F(SqliteSource, FailsWhenTheDatabaseGoesAwayMidWalk) {
    Exec("CREATE TABLE t (n INTEGER, pad TEXT);"
         "WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 5000)"
         " INSERT INTO t SELECT i, printf('%200d', i) FROM c");
    auto source = TSqliteRecordSource::Open(path_, "SELECT n, pad FROM t");
    fs::resize_file(path_, 8192);  // the pages of later rows are gone
    std::string error = ErrorOf([&] {
        for (int i = 0; i < 10000 && !source->Eof(); ++i) source->Next();
    });
    EXPECT_EQ(error.rfind("cannot read from database " + path_ + ": ", 0), 0u) << error;
}
