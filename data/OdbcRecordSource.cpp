#include "data/OdbcRecordSource.h"

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <limits>
#include <optional>

#include "data/ADODataSet.h"
#include "data/OdbcCancelWatch.h"
#include "rtl/CodePage.h"
#include "rtl/DateTime.h"
#include "rtl/Exception.h"
#include "rtl/NumberFormat.h"
#include "rtl/TextUtils.h"

namespace mlt {

namespace {

// Waiting longer than this for a server to answer a login is waiting for nothing.
constexpr SQLUINTEGER kLoginTimeoutSeconds = 15;
constexpr std::size_t kPieceBytes = 64 * 1024;
constexpr std::size_t kAlign = alignof(std::max_align_t);

std::size_t Aligned(std::size_t bytes) { return (bytes + kAlign - 1) / kAlign * kAlign; }

SQLSMALLINT CType(TOdbcFetch fetch) {
    switch (fetch) {
        case TOdbcFetch::Integer: return SQL_C_SBIGINT;
        case TOdbcFetch::Decimal: return SQL_C_CHAR;
        case TOdbcFetch::Double: return SQL_C_DOUBLE;
        case TOdbcFetch::Boolean: return SQL_C_BIT;
        case TOdbcFetch::Date: return SQL_C_TYPE_DATE;
        case TOdbcFetch::Time: return SQL_C_TYPE_TIME;
        case TOdbcFetch::Timestamp: return SQL_C_TYPE_TIMESTAMP;
        case TOdbcFetch::Binary: return SQL_C_BINARY;
        default: return SQL_C_WCHAR;
    }
}

// Bytes of a bound value: wide text may take two UTF-16 units a character.
std::size_t BufferBytes(const TOdbcColumnType& type) {
    const auto size = static_cast<std::size_t>(type.Column.DefinedSize);
    switch (type.Fetch) {
        case TOdbcFetch::Integer: return sizeof(SQLBIGINT);
        case TOdbcFetch::Decimal: return static_cast<std::size_t>(std::max(type.Column.Precision, 1)) + 4;
        case TOdbcFetch::Double: return sizeof(SQLDOUBLE);
        case TOdbcFetch::Boolean: return 1;
        case TOdbcFetch::Date: return sizeof(SQL_DATE_STRUCT);
        case TOdbcFetch::Time: return sizeof(SQL_TIME_STRUCT);
        case TOdbcFetch::Timestamp: return sizeof(SQL_TIMESTAMP_STRUCT);
        case TOdbcFetch::Binary: return std::max<std::size_t>(size, 1);
        default: return (2 * size + 1) * sizeof(SQLWCHAR);
    }
}

std::u16string_view WideText(const char* data, std::size_t bytes) {
    static_assert(sizeof(SQLWCHAR) == sizeof(char16_t));
    return {reinterpret_cast<const char16_t*>(data), bytes / sizeof(char16_t)};
}

// Exact decimal text ("-12.345") as an amount times 10,000, rounded half away from zero;
// nothing when it is no plain decimal or does not fit.
std::optional<Currency> DecimalAmount(std::string_view text) {
    bool negative = !text.empty() && text.front() == '-';
    if (negative || (!text.empty() && text.front() == '+')) text.remove_prefix(1);
    std::size_t dot = text.find('.');
    std::string_view whole = text.substr(0, dot);
    std::string_view fraction = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    if (whole.empty() && fraction.empty()) return std::nullopt;
    constexpr Currency kLimit = std::numeric_limits<Currency>::max() / 10;
    Currency amount = 0;
    for (char c : whole) {
        if (c < '0' || c > '9' || amount > kLimit) return std::nullopt;
        amount = amount * 10 + (c - '0');
    }
    for (std::size_t i = 0; i < fraction.size(); ++i) {
        char c = fraction[i];
        if (c < '0' || c > '9') return std::nullopt;
        if (i < 4) {
            if (amount > kLimit) return std::nullopt;
            amount = amount * 10 + (c - '0');
        } else if (i == 4 && c >= '5') {
            ++amount;
        }
    }
    for (std::size_t i = fraction.size(); i < 4; ++i) {
        if (amount > kLimit) return std::nullopt;
        amount *= 10;
    }
    return negative ? -amount : amount;
}

// An OLE date: before 1899-12-30 the time of day still counts forward, so it is subtracted.
TDateTime OleDate(int year, int month, int day, TDateTime time) {
    TDateTime date = EncodeDate(year, month, day);
    return date >= 0 ? date + time : date - time;
}

// The driver's words without the bracketed names of the components that passed them on,
// on one line.
std::string CleanMessage(std::string text) {
    while (!text.empty() && text.front() == '[') {
        std::size_t close = text.find(']');
        if (close == std::string::npos) break;
        text.erase(0, close + 1);
    }
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r' || c == '\t'; }, ' ');
    std::string single;
    for (char c : text)
        if (c != ' ' || (!single.empty() && single.back() != ' ')) single += c;
    while (!single.empty() && (single.back() == ' ' || single.back() == '.')) single.pop_back();
    return single;
}

// The value of a keyword of a connection string, such as PWD, braces removed.
std::string ConnectionValue(const std::string& connection, std::string_view keyword) {
    std::size_t at = 0;
    while (at < connection.size()) {
        std::size_t eq = connection.find('=', at);
        if (eq == std::string::npos) break;
        std::string key(connection, at, eq - at);
        key.erase(0, key.find_first_not_of(' '));
        key.erase(key.find_last_not_of(' ') + 1);
        std::string value;
        std::size_t end = eq + 1;
        if (end < connection.size() && connection[end] == '{') {
            for (++end; end < connection.size(); ++end) {
                if (connection[end] == '}') {
                    if (end + 1 < connection.size() && connection[end + 1] == '}') ++end;
                    else break;
                }
                value += connection[end];
            }
            end = connection.find(';', end);
        } else {
            end = connection.find(';', end);
            value = connection.substr(eq + 1, end == std::string::npos ? std::string::npos : end - eq - 1);
        }
        if (SameText(key, keyword)) return value;
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return {};
}

std::string Braced(const std::string& value) {
    std::string result = "{";
    for (char c : value) result += c == '}' ? std::string("}}") : std::string(1, c);
    return result + "}";
}

}  // namespace

struct TOdbcRecordSource::THandles {
    SQLHENV Env = SQL_NULL_HENV;
    SQLHDBC Dbc = SQL_NULL_HDBC;
    SQLHSTMT Stmt = SQL_NULL_HSTMT;
    bool Connected = false;
    SQLULEN RowsFetched = 0;
    std::vector<SQLUSMALLINT> RowStatus;

    ~THandles() {
        if (Stmt) SQLFreeHandle(SQL_HANDLE_STMT, Stmt);
        if (Connected) SQLDisconnect(Dbc);
        if (Dbc) SQLFreeHandle(SQL_HANDLE_DBC, Dbc);
        if (Env) SQLFreeHandle(SQL_HANDLE_ENV, Env);
    }
    SQLHANDLE Of(int type) const {
        return type == SQL_HANDLE_STMT ? Stmt : type == SQL_HANDLE_DBC ? static_cast<SQLHANDLE>(Dbc) : Env;
    }
};

TOdbcRecordSource::TOdbcRecordSource() : handles_(std::make_unique<THandles>()) {}
TOdbcRecordSource::~TOdbcRecordSource() = default;

std::unique_ptr<TOdbcRecordSource> TOdbcRecordSource::Open(const TOdbcSourceOptions& options) {
    std::unique_ptr<TOdbcRecordSource> source(new TOdbcRecordSource());
    source->Connect(options);
    source->sql_ = options.Sql;
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, source->handles_->Dbc, &stmt)))
        source->Fail("cannot start a statement", SQL_HANDLE_DBC);
    source->handles_->Stmt = stmt;
    source->cancel_ = options.Cancel;
    TOdbcCancelWatch watch(stmt, source->cancel_);
    if (!SQL_SUCCEEDED(SQLPrepare(stmt, reinterpret_cast<SQLCHAR*>(source->sql_.data()), SQL_NTS)))
        source->Fail("the query failed", SQL_HANDLE_STMT);
    source->Execute();
    source->DescribeColumns(options);
    source->Bind();
    SQLLEN rows = -1;
    if (SQL_SUCCEEDED(SQLRowCount(stmt, &rows)) && rows > 0) source->recordCount_ = static_cast<int>(std::min<SQLLEN>(rows, INT_MAX));
    source->FetchBlock();
    source->atFirst_ = true;
    return source;
}

void TOdbcRecordSource::Connect(const TOdbcSourceOptions& options) {
    THandles& h = *handles_;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &h.Env)))
        throw EDatabaseError("cannot connect through ODBC: the ODBC driver manager cannot start");
    SQLSetEnvAttr(h.Env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, h.Env, &h.Dbc))) Fail("cannot connect through ODBC", SQL_HANDLE_ENV);
    SQLSetConnectAttr(h.Dbc, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(kLoginTimeoutSeconds)), 0);
    SQLSetConnectAttr(h.Dbc, SQL_ATTR_ACCESS_MODE, reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(SQL_MODE_READ_ONLY)), 0);

    std::string connection = options.ConnectionString;
    for (std::string_view keyword : {"PWD", "PASSWORD"})
        if (std::string given = ConnectionValue(connection, keyword); !given.empty()) secrets_.push_back(given);
    if (!options.Password.empty() && secrets_.empty()) {
        if (!connection.empty() && connection.back() != ';') connection += ';';
        connection += "PWD=" + Braced(options.Password);
        secrets_.push_back(options.Password);
    }
    SQLRETURN rc = SQLDriverConnect(h.Dbc, nullptr, reinterpret_cast<SQLCHAR*>(connection.data()), SQL_NTS, nullptr, 0,
                                    nullptr, SQL_DRIVER_NOPROMPT);
    std::fill(connection.begin(), connection.end(), '\0');
    if (!SQL_SUCCEEDED(rc)) Fail("cannot connect through ODBC", SQL_HANDLE_DBC);
    h.Connected = true;
    SQLUINTEGER extensions = 0;
    SQLGetInfo(h.Dbc, SQL_GETDATA_EXTENSIONS, &extensions, sizeof extensions, nullptr);
    getDataExtensions_ = extensions;
}

void TOdbcRecordSource::Fail(const std::string& what, int handleType) const {
    SQLCHAR state[6] = {};
    SQLCHAR text[SQL_MAX_MESSAGE_LENGTH * 2] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    std::string message;
    SQLRETURN rc = SQLGetDiagRec(static_cast<SQLSMALLINT>(handleType), handles_->Of(handleType), 1, state, &native, text,
                                 sizeof text, &length);
    if (SQL_SUCCEEDED(rc)) message = CleanMessage(reinterpret_cast<const char*>(text));
    std::string code(reinterpret_cast<const char*>(state));
    std::string cause = what;
    SQLUINTEGER dead = SQL_CD_FALSE;
    if (handles_->Connected)
        SQLGetConnectAttr(handles_->Dbc, SQL_ATTR_CONNECTION_DEAD, &dead, sizeof dead, nullptr);
    if (dead == SQL_CD_TRUE || code == "08S01" || code == "08003" || code == "08007")
        cause = "the connection to the database was lost";
    else if (code == "IM002" || code == "IM003") cause = "cannot connect through ODBC: the driver or data source is not installed";
    else if (code.rfind("28", 0) == 0) cause = "the database refused the login";
    for (const std::string& secret : secrets_)
        for (std::size_t at; !secret.empty() && (at = message.find(secret)) != std::string::npos;)
            message.replace(at, secret.size(), "***");
    throw EDatabaseError(message.empty() ? cause : cause + ": " + Utf8ToAnsi(message));
}

void TOdbcRecordSource::Execute() {
    SQLRETURN rc = SQLExecute(handles_->Stmt);
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) Fail("the query failed", SQL_HANDLE_STMT);
}

void TOdbcRecordSource::DescribeColumns(const TOdbcSourceOptions& options) {
    SQLHSTMT stmt = handles_->Stmt;
    SQLSMALLINT count = 0;
    if (!SQL_SUCCEEDED(SQLNumResultCols(stmt, &count))) Fail("the query failed", SQL_HANDLE_STMT);
    if (count == 0) throw EDatabaseError("the statement is not a query: it returns no columns");
    for (SQLUSMALLINT i = 1; i <= count; ++i) {
        SQLCHAR name[512] = {};
        SQLSMALLINT nameLength = 0, sqlType = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        if (!SQL_SUCCEEDED(SQLDescribeCol(stmt, i, name, sizeof name, &nameLength, &sqlType, &size, &digits, &nullable)))
            Fail("cannot describe the query's columns", SQL_HANDLE_STMT);
        SQLLEN isUnsigned = SQL_FALSE;
        SQLColAttribute(stmt, i, SQL_DESC_UNSIGNED, nullptr, 0, nullptr, &isUnsigned);
        TOdbcColumn column{reinterpret_cast<const char*>(name), sqlType, size, digits, isUnsigned == SQL_TRUE};
        bool graphic = std::any_of(options.GraphicColumns.begin(), options.GraphicColumns.end(),
                                   [&](const std::string& n) { return SameText(n, column.Name); });
        TBinding binding;
        binding.Type = OdbcColumnType(column, graphic);
        std::optional<TAdoFieldDef> def = AdoFieldDef(binding.Type.Column);
        binding.Kind = def ? def->Kind : ftUnknown;
        bindings_.push_back(std::move(binding));
    }
}

void TOdbcRecordSource::Bind() {
    // SQLGetData on an unbound column needs every column after it unbound too, unless the
    // driver allows any column; and within a block it needs the driver to position there.
    const bool anyColumn = (getDataExtensions_ & SQL_GD_ANY_COLUMN) != 0;
    bool unboundSeen = false;
    for (TBinding& binding : bindings_) {
        unboundSeen = unboundSeen || binding.Type.Long;
        binding.Bound = !binding.Type.Long && (anyColumn || !unboundSeen);
    }
    if (unboundSeen && (getDataExtensions_ & SQL_GD_BLOCK) == 0) blockRows_ = 1;

    rowBytes_ = 0;
    for (TBinding& binding : bindings_) {
        if (!binding.Bound) continue;
        binding.Bytes = BufferBytes(binding.Type);
        binding.Offset = rowBytes_ + Aligned(sizeof(SQLLEN));
        rowBytes_ = binding.Offset + Aligned(binding.Bytes);
    }
    rowBytes_ = std::max(rowBytes_, kAlign);
    block_.assign(rowBytes_ * blockRows_ / kAlign, std::max_align_t{});
    handles_->RowStatus.assign(blockRows_, 0);

    SQLHSTMT stmt = handles_->Stmt;
    auto set = [&](SQLINTEGER attribute, SQLPOINTER value) {
        if (!SQL_SUCCEEDED(SQLSetStmtAttr(stmt, attribute, value, 0))) Fail("cannot fetch rows in blocks", SQL_HANDLE_STMT);
    };
    set(SQL_ATTR_ROW_BIND_TYPE, reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(rowBytes_)));
    set(SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(blockRows_)));
    set(SQL_ATTR_ROWS_FETCHED_PTR, &handles_->RowsFetched);
    set(SQL_ATTR_ROW_STATUS_PTR, handles_->RowStatus.data());
    char* row = reinterpret_cast<char*>(block_.data());
    for (std::size_t i = 0; i < bindings_.size(); ++i) {
        const TBinding& binding = bindings_[i];
        if (!binding.Bound) continue;
        if (!SQL_SUCCEEDED(SQLBindCol(stmt, static_cast<SQLUSMALLINT>(i + 1), CType(binding.Type.Fetch),
                                      row + binding.Offset, static_cast<SQLLEN>(binding.Bytes),
                                      reinterpret_cast<SQLLEN*>(row + binding.Offset - Aligned(sizeof(SQLLEN))))))
            Fail("cannot bind column " + binding.Type.Column.Name, SQL_HANDLE_STMT);
    }
}

void TOdbcRecordSource::FetchBlock() {
    current_ = 0;
    positioned_ = false;
    SQLRETURN rc = SQLFetch(handles_->Stmt);
    if (rc == SQL_NO_DATA) {
        eof_ = true;
        handles_->RowsFetched = 0;
        return;
    }
    if (!SQL_SUCCEEDED(rc)) Fail("cannot read the query's rows", SQL_HANDLE_STMT);
    eof_ = handles_->RowsFetched == 0;
}

std::vector<TColumnDescriptor> TOdbcRecordSource::Columns() {
    std::vector<TColumnDescriptor> columns;
    for (const TBinding& binding : bindings_) columns.push_back(binding.Type.Column);
    return columns;
}

void TOdbcRecordSource::First() {
    if (atFirst_) return;
    SQLFreeStmt(handles_->Stmt, SQL_CLOSE);
    TOdbcCancelWatch watch(handles_->Stmt, cancel_);
    Execute();
    FetchBlock();
    atFirst_ = true;
}

void TOdbcRecordSource::Next() {
    if (eof_) return;
    atFirst_ = false;
    if (++current_ < handles_->RowsFetched) {
        positioned_ = false;
        return;
    }
    FetchBlock();
}

void TOdbcRecordSource::ReadRow(std::vector<Variant>& values) {
    values.resize(bindings_.size());
    for (std::size_t i = 0; i < bindings_.size(); ++i) ReadValue(i, values[i]);
}

void TOdbcRecordSource::ReadValue(std::size_t column, Variant& value) {
    const TBinding& binding = bindings_[column];
    if (!binding.Bound) return ReadLong(column, value);
    const char* data = reinterpret_cast<const char*>(block_.data()) + current_ * rowBytes_ + binding.Offset;
    SQLLEN length = *reinterpret_cast<const SQLLEN*>(data - Aligned(sizeof(SQLLEN)));
    if (length == SQL_NULL_DATA) {
        value = Variant::Null();
        return;
    }
    // A value longer than the driver declared arrives cut short: read it whole.
    const bool variable = binding.Type.Fetch == TOdbcFetch::Text || binding.Type.Fetch == TOdbcFetch::Wide ||
                          binding.Type.Fetch == TOdbcFetch::Binary || binding.Type.Fetch == TOdbcFetch::Decimal;
    const std::size_t room = binding.Bytes - (binding.Type.Fetch == TOdbcFetch::Binary ? 0
                                              : binding.Type.Fetch == TOdbcFetch::Decimal ? 1 : sizeof(SQLWCHAR));
    if (variable && (length == SQL_NO_TOTAL || static_cast<std::size_t>(length) > room)) {
        const unsigned whole = SQL_GD_BOUND | SQL_GD_ANY_ORDER | (blockRows_ > 1 ? SQL_GD_BLOCK : 0);
        if ((getDataExtensions_ & whole) != whole)
            throw EDatabaseError("a value of column " + binding.Type.Column.Name + " is longer than the " +
                                 IntToStr(binding.Type.Column.DefinedSize) + " characters that the driver declares");
        return ReadLong(column, value);
    }
    ReadBound(binding, data, length, value);
}

void TOdbcRecordSource::ReadBound(const TBinding& binding, const char* data, std::ptrdiff_t length,
                                  Variant& value) {
    switch (binding.Type.Fetch) {
        case TOdbcFetch::Text: {
            std::u16string_view text = WideText(data, static_cast<std::size_t>(length));
            if (std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; })) {
                ascii_.assign(text.begin(), text.end());
                value.AssignString(ascii_);
            } else {
                value = Variant::String(WideToAnsi(text));
            }
            return;
        }
        case TOdbcFetch::Wide:
            value.AssignWide(WideText(data, static_cast<std::size_t>(length)));
            return;
        case TOdbcFetch::Integer: {
            SQLBIGINT number;
            std::memcpy(&number, data, sizeof number);
            switch (binding.Kind) {
                case ftSmallint:
                    if (number >= INT16_MIN && number <= INT16_MAX) return void(value = Variant::SmallInt(static_cast<std::int16_t>(number)));
                    break;
                case ftInteger: case ftWord:
                    if (number >= INT32_MIN && number <= INT32_MAX) return void(value = Variant::Integer(static_cast<std::int32_t>(number)));
                    break;
                default:
                    break;
            }
            value = Variant::Int64(number);
            return;
        }
        case TOdbcFetch::Decimal: {
            std::string_view text(data, static_cast<std::size_t>(length));
            std::optional<Currency> amount = DecimalAmount(text);
            if (amount && binding.Kind == ftInteger && *amount % kCurrencyScale == 0 &&
                *amount / kCurrencyScale >= INT32_MIN && *amount / kCurrencyScale <= INT32_MAX)
                value = Variant::Integer(static_cast<std::int32_t>(*amount / kCurrencyScale));
            else if (amount && binding.Kind != ftInteger)
                value = Variant::BCD(*amount);
            else
                value = Variant::String(std::string(text));
            return;
        }
        case TOdbcFetch::Double: {
            SQLDOUBLE number;
            std::memcpy(&number, data, sizeof number);
            value = Variant::Double(number);
            return;
        }
        case TOdbcFetch::Boolean:
            value = Variant::Boolean(*data != 0);
            return;
        case TOdbcFetch::Date: {
            SQL_DATE_STRUCT date;
            std::memcpy(&date, data, sizeof date);
            value = Variant::Date(OleDate(date.year, date.month, date.day, 0));
            return;
        }
        case TOdbcFetch::Time: {
            SQL_TIME_STRUCT time;
            std::memcpy(&time, data, sizeof time);
            value = Variant::Date(EncodeTime(time.hour, time.minute, time.second));
            return;
        }
        case TOdbcFetch::Timestamp: {
            SQL_TIMESTAMP_STRUCT stamp;
            std::memcpy(&stamp, data, sizeof stamp);
            TDateTime time = EncodeTime(stamp.hour, stamp.minute, stamp.second, static_cast<int>(stamp.fraction / 1000000));
            value = Variant::Date(OleDate(stamp.year, stamp.month, stamp.day, time));
            return;
        }
        case TOdbcFetch::Binary:
            value = Variant::Blob(std::string(data, static_cast<std::size_t>(length)));
            return;
    }
}

// Moves the driver's cursor to the current row of the block, for SQLGetData.
void TOdbcRecordSource::Position() {
    if (blockRows_ == 1 || positioned_) return;
    if (!SQL_SUCCEEDED(SQLSetPos(handles_->Stmt, static_cast<SQLSETPOSIROW>(current_ + 1), SQL_POSITION, SQL_LOCK_NO_CHANGE)))
        Fail("cannot read the query's rows", SQL_HANDLE_STMT);
    positioned_ = true;
}

void TOdbcRecordSource::ReadLong(std::size_t column, Variant& value) {
    Position();
    const TOdbcColumnType& type = bindings_[column].Type;
    const SQLSMALLINT cType = CType(type.Fetch);
    std::string bytes;
    std::vector<char> piece(kPieceBytes);
    for (;;) {
        SQLLEN length = 0;
        SQLRETURN rc = SQLGetData(handles_->Stmt, static_cast<SQLUSMALLINT>(column + 1), cType, piece.data(),
                                  static_cast<SQLLEN>(piece.size()), &length);
        if (rc == SQL_NO_DATA) break;
        if (!SQL_SUCCEEDED(rc)) Fail("cannot read column " + type.Column.Name, SQL_HANDLE_STMT);
        if (length == SQL_NULL_DATA) {
            value = Variant::Null();
            return;
        }
        // A piece that fills the buffer ends in a terminator, unless it is binary.
        const std::size_t terminator = cType == SQL_C_BINARY ? 0 : cType == SQL_C_CHAR ? 1 : sizeof(SQLWCHAR);
        const bool more = rc == SQL_SUCCESS_WITH_INFO && (length == SQL_NO_TOTAL || static_cast<std::size_t>(length) > piece.size() - terminator);
        bytes.append(piece.data(), more ? piece.size() - terminator : static_cast<std::size_t>(length));
        if (!more) break;
    }
    TBinding whole = bindings_[column];
    whole.Bytes = bytes.size() + sizeof(SQLWCHAR);
    ReadBound(whole, bytes.data(), static_cast<std::ptrdiff_t>(bytes.size()), value);
}

}  // namespace mlt
