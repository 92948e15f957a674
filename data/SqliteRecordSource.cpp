#include "data/SqliteRecordSource.h"

#include <sqlite3.h>

#include <array>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>

#include "data/ADODataSet.h"
#include "rtl/CodePage.h"
#include "rtl/IsoDateTime.h"
#include "rtl/DateTime.h"
#include "rtl/Exception.h"
#include "rtl/FileStream.h"
#include "rtl/TextUtils.h"

namespace mlt {

namespace {

// TEXT has no size, but a report needs one for the column width. A memo
// (adLongVarChar) would get none at all, so TEXT is short text of 255 characters, the
// longest short text of ADO's Jet provider. The size only describes: longer values still
// arrive whole.
constexpr int kTextSize = 255;
// DECIMAL without a precision, as SQL Server reads it: DECIMAL(18,0).
constexpr int kNumericPrecision = 18;
constexpr int kCurrencyPrecision = 19;
constexpr int kCurrencyDecimals = 4;
// Waiting this long for a writer's lock beats failing a report at once.
constexpr int kBusyTimeoutMs = 5000;
constexpr double kMsPerDay = 86400000.0;
constexpr double kUnixEpoch = 25569;           // 1970-01-01 as an OLE date
constexpr double kJulianDayOfEpoch = 2415018.5;  // 1899-12-30 00:00 as a julian day

struct TTypeName {
    std::string_view Name;
    int Type;
    bool Graphic = false;
};

constexpr std::array kTypeNames = {
    TTypeName{"VARCHAR", adVarChar},          TTypeName{"CHARACTER VARYING", adVarChar},
    TTypeName{"VARYING CHARACTER", adVarChar}, TTypeName{"TEXT", adVarChar},
    TTypeName{"CLOB", adVarChar},             TTypeName{"CHAR", adChar},
    TTypeName{"CHARACTER", adChar},           TTypeName{"NVARCHAR", adVarWChar},
    TTypeName{"NCHAR", adWChar},              TTypeName{"NATIVE CHARACTER", adWChar},
    TTypeName{"INTEGER", adInteger},          TTypeName{"INT", adInteger},
    TTypeName{"MEDIUMINT", adInteger},        TTypeName{"BIGINT", adBigInt},
    TTypeName{"INT8", adBigInt},              TTypeName{"UNSIGNED BIG INT", adBigInt},
    TTypeName{"SMALLINT", adSmallInt},        TTypeName{"INT2", adSmallInt},
    TTypeName{"TINYINT", adTinyInt},          TTypeName{"REAL", adDouble},
    TTypeName{"FLOAT", adDouble},             TTypeName{"DOUBLE", adDouble},
    TTypeName{"DOUBLE PRECISION", adDouble},  TTypeName{"NUMERIC", adNumeric},
    TTypeName{"DECIMAL", adNumeric},          TTypeName{"MONEY", adCurrency},
    TTypeName{"CURRENCY", adCurrency},        TTypeName{"BOOLEAN", adBoolean},
    TTypeName{"BOOL", adBoolean},             TTypeName{"DATE", adDBDate},
    TTypeName{"DATETIME", adDBTimeStamp},     TTypeName{"TIMESTAMP", adDBTimeStamp},
    TTypeName{"TIME", adDBTime},              TTypeName{"BLOB", adLongVarBinary},
    TTypeName{"GRAPHIC", adLongVarBinary, true}, TTypeName{"IMAGE", adLongVarBinary, true},
};

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

// A declared type such as "decimal ( 12, 2 )": its name in upper case with single
// blanks, and the numbers in brackets (none when they do not read as numbers).
struct TDeclaredType {
    std::string Name;
    std::vector<int> Sizes;
};

TDeclaredType ParseDeclaredType(std::string_view declared) {
    TDeclaredType result;
    std::size_t open = declared.find('(');
    for (char c : Trim(declared.substr(0, open))) {
        bool blank = std::isspace(static_cast<unsigned char>(c)) != 0;
        if (!blank) result.Name += c;
        else if (result.Name.back() != ' ') result.Name += ' ';
    }
    result.Name = UpperCase(result.Name);
    if (open == std::string_view::npos) return result;
    std::string_view inside = declared.substr(open + 1, declared.find(')', open) - open - 1);
    while (!inside.empty()) {
        std::size_t comma = inside.find(',');
        std::string_view item = Trim(inside.substr(0, comma));
        int size = 0;
        auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), size);
        if (error != std::errc() || end != item.data() + item.size()) return {result.Name, {}};
        result.Sizes.push_back(size);
        inside = comma == std::string_view::npos ? std::string_view() : inside.substr(comma + 1);
    }
    return result;
}

const TTypeName* FindTypeName(const std::string& name) {
    for (const TTypeName& known : kTypeNames)
        if (known.Name == name) return &known;
    return nullptr;
}

void DescribeDeclared(TColumnDescriptor& column, const TTypeName& known, const std::vector<int>& sizes) {
    column.Type = known.Type;
    column.Graphic = known.Graphic;
    switch (known.Type) {
        case adVarChar: case adChar: case adVarWChar: case adWChar:
            column.DefinedSize = !sizes.empty() && sizes[0] > 0 ? sizes[0] : kTextSize;
            break;
        case adNumeric:
            column.Precision = !sizes.empty() ? sizes[0] : kNumericPrecision;
            column.NumericScale = sizes.size() > 1 ? sizes[1] : 0;
            break;
        case adCurrency:
            column.Precision = kCurrencyPrecision;
            column.NumericScale = kCurrencyDecimals;
            break;
        default:
            break;
    }
}

void DescribeByValue(TColumnDescriptor& column, int storageClass) {
    switch (storageClass) {
        case SQLITE_INTEGER: column.Type = adBigInt; break;  // SQLite's integers are 64-bit
        case SQLITE_FLOAT: column.Type = adDouble; break;
        case SQLITE_BLOB: column.Type = adLongVarBinary; break;
        default:
            column.Type = adVarChar;
            column.DefinedSize = kTextSize;
    }
}

std::string_view ColumnText(sqlite3_stmt* statement, int column) {
    auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return {text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(statement, column))};
}

template <typename T>
bool Fits(std::int64_t value) {
    return value >= std::numeric_limits<T>::min() && value <= std::numeric_limits<T>::max();
}

// An OLE date from a moment counted in days since 1899-12-30, to the millisecond.
// Before that day the time of day still counts forward, so it is subtracted; a time
// column keeps only the time of day.
TDateTime OleDate(double days, bool timeOnly) {
    double ms = std::round(days * kMsPerDay);
    double day = std::floor(ms / kMsPerDay);
    double time = (ms - day * kMsPerDay) / kMsPerDay;
    if (timeOnly) return time;
    return day >= 0 ? day + time : day - time;
}

}  // namespace

std::unique_ptr<TSqliteRecordSource> TSqliteRecordSource::Open(const std::string& databasePath,
                                                               const std::string& sql,
                                                               const std::atomic<bool>* cancel) {
    // Owned from the start, so that a failure below still closes what was opened.
    std::unique_ptr<TSqliteRecordSource> source(new TSqliteRecordSource(databasePath));
    source->cancel_ = cancel;
    source->interruptible_ = true;
    source->OpenQuery(sql);
    source->Restart();
    source->DescribeColumns();
    source->interruptible_ = false;
    return source;
}

namespace {

// A URI that opens `path` as a file that nothing changes while it is read.
std::string ImmutableUri(const std::string& path) {
    std::string uri = "file:";
    for (char c : path) {
        if (c == '%' || c == '?' || c == '#') uri += c == '%' ? "%25" : c == '?' ? "%3f" : "%23";
        else uri += c;
    }
    return uri + "?immutable=1";
}

}  // namespace

void TSqliteRecordSource::Connect(const std::string& name, int flags) {
    // One connection serves one run on one thread, so it needs none of SQLite's mutexes.
    int rc = sqlite3_open_v2(name.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | flags, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw EDatabaseError("cannot open database " + path_ + ": " + message);
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    if (cancel_ != nullptr) {
        sqlite3_progress_handler(db_, 1000, [](void* self) -> int {
            auto* source = static_cast<TSqliteRecordSource*>(self);
            return source->interruptible_ && source->cancel_->load() ? 1 : 0;
        }, this);
    }
}

void TSqliteRecordSource::OpenQuery(const std::string& sql) {
    Connect(path_, 0);
    // Reading the schema proves the file a database; a query such as SELECT 1 never would.
    // It comes first: a locked database then costs one busy timeout, not one per statement.
    if (sqlite3_exec(db_, "PRAGMA schema_version", nullptr, nullptr, nullptr) != SQLITE_OK) {
        // A WAL database needs its -shm and -wal files, which a reader who may not write
        // to the folder cannot create. Without a -wal file no writer is at work, and the
        // database file alone is the whole database: it is read as it is.
        const int rc = sqlite3_errcode(db_);
        if ((rc != SQLITE_READONLY && rc != SQLITE_CANTOPEN) || FileExists(path_ + "-wal"))
            Fail("cannot open database " + path_);
        sqlite3_close_v2(db_);
        db_ = nullptr;
        Connect(ImmutableUri(path_), SQLITE_OPEN_URI);
        if (sqlite3_exec(db_, "PRAGMA schema_version", nullptr, nullptr, nullptr) != SQLITE_OK)
            Fail("cannot open database " + path_);
    }
    // A report reads its rows once, in order: a small page cache serves that as well as a
    // large one, and keeps the memory of a run the same for any number of rows.
    sqlite3_exec(db_, "PRAGMA cache_size = -512", nullptr, nullptr, nullptr);
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &query_, &tail) != SQLITE_OK)
        Fail("cannot prepare query on " + path_);
    if (!query_) throw EDatabaseError("the query on " + path_ + " is empty");
    // What follows the statement may be comments, but no second statement.
    sqlite3_stmt* next = nullptr;
    int nextRc = sqlite3_prepare_v2(db_, tail, -1, &next, nullptr);
    sqlite3_finalize(next);
    if (nextRc != SQLITE_OK || next)
        throw EDatabaseError("the query on " + path_ + " holds more than one statement");
    if (sqlite3_column_count(query_) == 0)
        throw EDatabaseError("the statement on " + path_ + " is not a query: it returns no columns");
    sql_.assign(sql.c_str(), tail);
}

TSqliteRecordSource::~TSqliteRecordSource() {
    sqlite3_finalize(julianDay_);
    sqlite3_finalize(query_);
    sqlite3_close_v2(db_);
}

void TSqliteRecordSource::Fail(const std::string& what) const {
    throw EDatabaseError(what + ": " + sqlite3_errmsg(db_));
}

void TSqliteRecordSource::Step() {
    int rc = sqlite3_step(query_);
    eof_ = rc != SQLITE_ROW;
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) Fail("cannot read from database " + path_);
}

void TSqliteRecordSource::Restart() {
    sqlite3_reset(query_);  // its result repeats an earlier step's failure, already reported
    row_ = 0;
    Step();
}

void TSqliteRecordSource::DescribeColumns() {
    int count = sqlite3_column_count(query_);
    for (int i = 0; i < count; ++i) {
        TColumnDescriptor column;
        const char* name = sqlite3_column_name(query_, i);
        column.Name = Utf8ToAnsi(name ? name : "");
        const char* declared = sqlite3_column_decltype(query_, i);
        TDeclaredType type = ParseDeclaredType(declared ? declared : "");
        const TTypeName* known = FindTypeName(type.Name);
        if (known) DescribeDeclared(column, *known, type.Sizes);
        else DescribeByValue(column, eof_ ? SQLITE_NULL : sqlite3_column_type(query_, i));

        TValueKind kind = TValueKind::Text;
        switch (column.Type) {
            case adVarWChar: case adWChar: kind = TValueKind::Wide; break;
            case adSmallInt: case adTinyInt: kind = TValueKind::SmallInt; break;
            case adInteger: kind = TValueKind::Integer; break;
            case adBigInt: kind = TValueKind::Int64; break;
            case adDouble: kind = TValueKind::Double; break;
            case adNumeric:
                kind = AdoFieldDef(column)->Kind == ftInteger ? TValueKind::Integer : TValueKind::BCD;
                break;
            case adCurrency: kind = TValueKind::Currency; break;
            case adBoolean: kind = TValueKind::Boolean; break;
            case adDBDate: case adDBTimeStamp: kind = TValueKind::DateTime; break;
            case adDBTime: kind = TValueKind::Time; break;
            case adLongVarBinary: kind = TValueKind::Blob; break;
            default: break;
        }
        columns_.push_back(std::move(column));
        kinds_.push_back(kind);
    }
}

void TSqliteRecordSource::First() {
    // Already on the first row: running the query again would only repeat it.
    if (row_ != 0 || eof_) Restart();
}

void TSqliteRecordSource::Next() {
    if (eof_) return;  // stepping a finished statement would start it again
    ++row_;
    Step();
}

int TSqliteRecordSource::RecordCount() {
    if (recordCount_ >= 0) return recordCount_;
    std::string_view body = Trim(sql_);
    while (!body.empty() && body.back() == ';') body = Trim(body.substr(0, body.size() - 1));
    // Line breaks keep a trailing "--" comment from swallowing the bracket.
    std::string count = "SELECT COUNT(*) FROM (\n" + std::string(body) + "\n)";
    sqlite3_stmt* statement = nullptr;
    bool counting = sqlite3_prepare_v2(db_, count.c_str(), -1, &statement, nullptr) == SQLITE_OK;
    // A statement that cannot be a subquery (a PRAGMA) is counted by stepping it through.
    if (!counting && sqlite3_prepare_v2(db_, sql_.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        Fail("cannot count the rows of " + path_);
    std::int64_t rows = 0;
    int rc;
    interruptible_ = true;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) rows = counting ? sqlite3_column_int64(statement, 0) : rows + 1;
    interruptible_ = false;
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE) Fail("cannot count the rows of " + path_);
    recordCount_ = static_cast<int>(std::min<std::int64_t>(rows, INT_MAX));
    return recordCount_;
}

std::string TSqliteRecordSource::Bookmark() { return IntToStr(row_); }

void TSqliteRecordSource::GotoBookmark(const std::string& bookmark) {
    std::optional<std::int32_t> target = TryStrToInt(bookmark);
    if (!target || *target < 0) throw EDatabaseError("Record not found or changed by another user");
    if (*target < row_) Restart();
    while (row_ < *target && !eof_) Next();
    if (row_ != *target) throw EDatabaseError("Record not found or changed by another user");
}

void TSqliteRecordSource::ReadRow(std::vector<Variant>& values) {
    values.resize(columns_.size());
    for (std::size_t i = 0; i < columns_.size(); ++i) ReadValue(static_cast<int>(i), values[i]);
}

void TSqliteRecordSource::ReadValue(int column, Variant& value) const {
    const int storage = sqlite3_column_type(query_, column);
    if (storage == SQLITE_NULL) {
        value = Variant::Null();
        return;
    }
    TValueKind kind = kinds_[static_cast<std::size_t>(column)];
    switch (kind) {
        case TValueKind::Text:
            return ReadText(column, value);
        case TValueKind::Wide:
            value = Variant::WideString(Utf8ToWide(ColumnText(query_, column)));
            return;
        case TValueKind::Blob: {
            auto* bytes = static_cast<const char*>(sqlite3_column_blob(query_, column));
            value = Variant::Blob(std::string(bytes ? bytes : "", static_cast<std::size_t>(sqlite3_column_bytes(query_, column))));
            return;
        }
        case TValueKind::DateTime:
        case TValueKind::Time:
            value = ReadDate(column, storage, kind);
            return;
        default:
            value = ReadNumber(column, storage, kind);
            return;
    }
}

Variant TSqliteRecordSource::ReadNumber(int column, int storage, TValueKind kind) const {
    if (storage != SQLITE_INTEGER && storage != SQLITE_FLOAT) return ValueAsText(column);
    // SQLite is asked once, for the value as stored.
    const std::int64_t stored = storage == SQLITE_INTEGER ? sqlite3_column_int64(query_, column) : 0;
    const double real = storage == SQLITE_INTEGER ? static_cast<double>(stored) : sqlite3_column_double(query_, column);
    std::optional<std::int64_t> whole;
    if (storage == SQLITE_INTEGER) whole = stored;
    else if (real == std::trunc(real) && std::fabs(real) < 9.2e18) whole = static_cast<std::int64_t>(real);
    std::optional<Currency> amount;
    if (storage == SQLITE_INTEGER && *whole >= LLONG_MIN / kCurrencyScale && *whole <= LLONG_MAX / kCurrencyScale)
        amount = *whole * kCurrencyScale;
    else if (storage == SQLITE_FLOAT && std::fabs(real) < 9.2e14)
        amount = std::llround(real * kCurrencyScale);

    switch (kind) {
        case TValueKind::SmallInt:
            if (whole && Fits<std::int16_t>(*whole)) return Variant::SmallInt(static_cast<std::int16_t>(*whole));
            break;
        case TValueKind::Integer:
            if (whole && Fits<std::int32_t>(*whole)) return Variant::Integer(static_cast<std::int32_t>(*whole));
            break;
        case TValueKind::Int64:
            if (whole) return Variant::Int64(*whole);
            break;
        case TValueKind::Double:
            return Variant::Double(real);
        case TValueKind::BCD:
            if (amount) return Variant::BCD(*amount);
            break;
        case TValueKind::Currency:
            if (amount) return Variant::CurrencyValue(*amount);
            break;
        case TValueKind::Boolean:
            return Variant::Boolean(real != 0);
        default:
            break;
    }
    return ValueAsText(column);
}

Variant TSqliteRecordSource::ReadDate(int column, int storage, TValueKind kind) const {
    std::optional<double> days;
    switch (storage) {
        case SQLITE_INTEGER:
            days = kUnixEpoch + static_cast<double>(sqlite3_column_int64(query_, column)) / 86400;
            break;
        case SQLITE_FLOAT:
            days = sqlite3_column_double(query_, column) - kJulianDayOfEpoch;
            break;
        case SQLITE_TEXT: {
            // Plain ISO dates are read here; the rest, SQLite's own leniencies included,
            // is left to julianday().
            if (auto iso = ParseIsoDateTime(ColumnText(query_, column)); iso && iso->Date) {
                days = iso->Days();
                break;
            }
            if (!julianDay_ && sqlite3_prepare_v2(db_, "SELECT julianday(?1)", -1, &julianDay_, nullptr) != SQLITE_OK)
                Fail("cannot read dates from " + path_);
            std::string_view text = ColumnText(query_, column);
            sqlite3_bind_text(julianDay_, 1, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
            if (sqlite3_step(julianDay_) == SQLITE_ROW && sqlite3_column_type(julianDay_, 0) != SQLITE_NULL)
                days = sqlite3_column_double(julianDay_, 0) - kJulianDayOfEpoch;
            sqlite3_reset(julianDay_);
            sqlite3_clear_bindings(julianDay_);
            break;
        }
        default:
            break;
    }
    if (!days || !IsDateTime(*days)) return ValueAsText(column);
    return Variant::Date(OleDate(*days, kind == TValueKind::Time));
}

Variant TSqliteRecordSource::ValueAsText(int column) const {
    return Variant::String(Utf8ToAnsi(ColumnText(query_, column)));
}

void TSqliteRecordSource::ReadText(int column, Variant& value) const {
    const std::string_view text = ColumnText(query_, column);
    if (IsAscii(text)) value.AssignString(text);
    else value = Variant::String(Utf8ToAnsi(text));
}

}  // namespace mlt
