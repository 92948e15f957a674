// The types a CSV column can be read as, and the value of a cell under each. A type list
// such as "int,text,real,date" names one type per column; an empty item is text.
// Numbers are read in the C locale's spelling (digits, "." and an optional exponent);
// dates, times and date-times in ISO form: YYYY-MM-DD, YYYY-MM-DD HH:MM[:SS[.fff]] (a
// "T" may stand for the blank), HH:MM[:SS[.fff]]. A time column keeps the time of day
// only. Booleans read true/false, yes/no, t/f, y/n or 1/0, in any case.
// A cell of a typed column is read without its surrounding blanks; an empty one is Null,
// and one that does not read as its type is passed on as its text, so the report shows
// what the file holds. Text is converted from UTF-8 to the system code page here.
#pragma once

#include <string_view>
#include <vector>

#include "rtl/Variant.h"

namespace mlt {

enum class TCsvType { Text, Integer, Real, Date, DateTime, Time, Boolean };

// Type names: text, int (or integer), real (float, double), date, datetime, time, bool
// (boolean), in any case. An unknown name raises EDatabaseError.
std::vector<TCsvType> ParseCsvTypes(std::string_view list);

// The ADO data type of a column of that type.
int CsvAdoType(TCsvType type);

Variant CsvCellValue(TCsvType type, std::string_view cell);

}  // namespace mlt
