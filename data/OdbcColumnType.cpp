#include "data/OdbcColumnType.h"

#include <sql.h>
#include <sqlext.h>

#include "rtl/CodePage.h"

namespace mlt {

namespace {

// Text of no stated size is short text of 255 characters, as the SQLite source reads TEXT.
constexpr std::uint64_t kTextSize = 255;
// Longer text and binary values are read with SQLGetData rather than bound, so that a
// block of rows stays a few megabytes at most.
constexpr std::uint64_t kMaxBoundText = 2000;
constexpr std::uint64_t kMaxBoundBinary = 8000;

int IntegerType(int sqlType, bool isUnsigned) {
    switch (sqlType) {
        case SQL_TINYINT: return isUnsigned ? adUnsignedTinyInt : adTinyInt;
        case SQL_SMALLINT: return isUnsigned ? adUnsignedSmallInt : adSmallInt;
        case SQL_INTEGER: return isUnsigned ? adUnsignedInt : adInteger;
        default: return isUnsigned ? adUnsignedBigInt : adBigInt;
    }
}

}  // namespace

TOdbcColumnType OdbcColumnType(const TOdbcColumn& odbc, bool graphic) {
    TOdbcColumnType result;
    TColumnDescriptor& column = result.Column;
    column.Name = Utf8ToAnsi(odbc.Name);
    auto sized = [&](int type, std::uint64_t limit) {
        column.Type = type;
        column.DefinedSize = static_cast<std::int64_t>(odbc.Size > 0 ? odbc.Size : kTextSize);
        result.Long = odbc.Size == 0 || odbc.Size > limit;
    };
    switch (odbc.SqlType) {
        case SQL_CHAR: sized(adChar, kMaxBoundText); break;
        case SQL_VARCHAR: sized(adVarChar, kMaxBoundText); break;
        case SQL_WCHAR: sized(adWChar, kMaxBoundText); result.Fetch = TOdbcFetch::Wide; break;
        case SQL_WVARCHAR: sized(adVarWChar, kMaxBoundText); result.Fetch = TOdbcFetch::Wide; break;
        case SQL_LONGVARCHAR: column.Type = adLongVarChar; result.Long = true; break;
        case SQL_WLONGVARCHAR:
            column.Type = adLongVarWChar;
            result.Fetch = TOdbcFetch::Wide;
            result.Long = true;
            break;
        case SQL_TINYINT: case SQL_SMALLINT: case SQL_INTEGER: case SQL_BIGINT:
            column.Type = IntegerType(odbc.SqlType, odbc.Unsigned);
            result.Fetch = TOdbcFetch::Integer;
            break;
        case SQL_NUMERIC: case SQL_DECIMAL:
            column.Type = adNumeric;
            column.Precision = static_cast<int>(odbc.Size);
            column.NumericScale = odbc.Digits;
            result.Fetch = TOdbcFetch::Decimal;
            break;
        case SQL_REAL: column.Type = adSingle; result.Fetch = TOdbcFetch::Double; break;
        case SQL_FLOAT: case SQL_DOUBLE: column.Type = adDouble; result.Fetch = TOdbcFetch::Double; break;
        case SQL_BIT: column.Type = adBoolean; result.Fetch = TOdbcFetch::Boolean; break;
        case SQL_TYPE_DATE: case SQL_DATE: column.Type = adDBDate; result.Fetch = TOdbcFetch::Date; break;
        case SQL_TYPE_TIME: case SQL_TIME: column.Type = adDBTime; result.Fetch = TOdbcFetch::Time; break;
        case SQL_TYPE_TIMESTAMP: case SQL_TIMESTAMP:
            column.Type = adDBTimeStamp;
            result.Fetch = TOdbcFetch::Timestamp;
            break;
        case SQL_BINARY: case SQL_VARBINARY:
            sized(odbc.SqlType == SQL_BINARY ? adBinary : adVarBinary, kMaxBoundBinary);
            result.Fetch = TOdbcFetch::Binary;
            break;
        case SQL_LONGVARBINARY:
            column.Type = adLongVarBinary;
            result.Fetch = TOdbcFetch::Binary;
            result.Long = true;
            break;
        case SQL_GUID: column.Type = adGUID; break;
        default: sized(adVarChar, kMaxBoundText); break;
    }
    if (graphic && result.Fetch == TOdbcFetch::Binary) {
        column.Type = adLongVarBinary;
        column.DefinedSize = 0;
        column.Graphic = true;
    }
    return result;
}

}  // namespace mlt
