// TDateTime is the OLE date: days since 30 December 1899, the time of day as the
// fraction. FormatDateTime understands the framework's pattern letters (d, m, y, h, n,
// s, z, AM/PM, A/P, AMPM, quoted literals); "/" and ":" become the date and time
// separators of the settings it is given. A value outside MinDateTime .. MaxDateTime
// (1 January 1 to the end of 31 December 9999), or not a number, is no date: the
// formatting functions write it as FloatToStr does, and DecodeDateTime gives the parts
// of the nearest end of the range.
#pragma once

#include <string>
#include <string_view>

#include "rtl/FormatSettings.h"

namespace mlt {

using TDateTime = double;

constexpr TDateTime MinDateTime = -693593.0;  // 1 January 1
constexpr TDateTime MaxDateTime = 2958466.0;  // 1 January 10000, itself outside
bool IsDateTime(TDateTime value);

struct TDateParts {
    int Year = 1899, Month = 12, Day = 30;
    int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
    int DayOfWeek = 0;  // 0 = Sunday
};

TDateParts DecodeDateTime(TDateTime value);
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond = 0);

std::string FormatDateTime(std::string_view pattern, TDateTime value, const TFormatSettings& settings);
std::string DateToStr(TDateTime value, const TFormatSettings& settings);
std::string TimeToStr(TDateTime value, const TFormatSettings& settings);
// The date, then a blank and the time unless the time of day is exactly midnight.
std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings);

// The local date and time now; one implementation per platform.
TDateTime Now();

}  // namespace mlt
