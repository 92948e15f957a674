// TFormatSettings: the separators, currency text and patterns that turn numbers and
// dates into text. A run holds its own copy and passes it to every conversion, so two
// exports on two threads never see each other's separators. DefaultFormatSettings is
// the process's value, read once from the OS: the user's locale on Windows, US English
// elsewhere.
#pragma once

#include <array>
#include <string>

namespace mlt {

struct TFormatSettings {
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
    char DateSeparator = '/';
    char TimeSeparator = ':';
    std::string CurrencyString = "$";
    std::string ShortDateFormat = "M/d/yyyy";
    std::string LongTimeFormat = "h:mm:ss AMPM";
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
    std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> LongMonthNames{"January", "February", "March",     "April",   "May",      "June",
                                               "July",    "August",   "September", "October", "November", "December"};
    std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> LongDayNames{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
};

const TFormatSettings& DefaultFormatSettings();

// Reads the OS's settings; one implementation per platform.
TFormatSettings ReadSystemFormatSettings();

}  // namespace mlt
