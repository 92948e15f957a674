// How an ODBC result column becomes a column in ADO terms, and how its values are fetched.
// The SQL type, column size, decimal digits and signedness that SQLDescribeCol and
// SQLColAttribute report choose the ADO type that TADODataSet understands:
//   CHAR(n), VARCHAR(n)                  adChar(n), adVarChar(n)
//   WCHAR(n), WVARCHAR(n)                adWChar(n), adVarWChar(n)
//   LONGVARCHAR, WLONGVARCHAR            adLongVarChar, adLongVarWChar (memo)
//   TINYINT, SMALLINT, INTEGER, BIGINT   adTinyInt, adSmallInt, adInteger, adBigInt
//                                        (adUnsigned... when the column is unsigned)
//   NUMERIC(p,s), DECIMAL(p,s)           adNumeric with precision p and scale s
//   REAL; FLOAT, DOUBLE                  adSingle; adDouble
//   BIT (BOOLEAN)                        adBoolean
//   TYPE_DATE, TYPE_TIME, TYPE_TIMESTAMP adDBDate, adDBTime, adDBTimeStamp
//   BINARY(n), VARBINARY(n)              adBinary(n), adVarBinary(n)
//   LONGVARBINARY                        adLongVarBinary
//   GUID                                 adGUID
// A binary column named as a picture column becomes adLongVarBinary marked Graphic.
// Text without a size (or a type not listed, such as an interval) is adVarChar(255),
// fetched as text. Text and binary columns longer than a bound buffer should hold, and
// every long type, are fetched piece by piece with SQLGetData instead of being bound.
#pragma once

#include <cstdint>
#include <string>

#include "data/RecordSource.h"

namespace mlt {

// What ODBC says about a result column.
struct TOdbcColumn {
    std::string Name;  // UTF-8
    int SqlType = 0;
    std::uint64_t Size = 0;
    int Digits = 0;
    bool Unsigned = false;
};

// How a column's values travel: the C type asked of the driver, and the Variant made.
enum class TOdbcFetch { Text, Wide, Integer, Decimal, Double, Boolean, Date, Time, Timestamp, Binary };

struct TOdbcColumnType {
    TColumnDescriptor Column;
    TOdbcFetch Fetch = TOdbcFetch::Text;
    bool Long = false;  // fetched with SQLGetData rather than bound
};

TOdbcColumnType OdbcColumnType(const TOdbcColumn& column, bool graphic);

}  // namespace mlt
