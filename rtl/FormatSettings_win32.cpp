#include <windows.h>

#include "rtl/FormatSettings.h"

namespace mlt {

namespace {

std::string LocaleText(LCTYPE type, const std::string& fallback) {
    char buffer[128] = {};
    int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer);
    return n > 1 ? std::string(buffer, static_cast<std::size_t>(n - 1)) : fallback;
}

char LocaleChar(LCTYPE type, char fallback) {
    std::string text = LocaleText(type, "");
    return text.empty() ? fallback : text[0];
}

// Windows writes the AM/PM marker as "tt"; the formatter knows it as "AMPM".
std::string TimePattern(std::string pattern) {
    for (std::size_t at; (at = pattern.find("tt")) != std::string::npos;) pattern.replace(at, 2, "AMPM");
    return pattern;
}

}  // namespace

TFormatSettings ReadSystemFormatSettings() {
    TFormatSettings s;
    s.DecimalSeparator = LocaleChar(LOCALE_SDECIMAL, s.DecimalSeparator);
    s.ThousandSeparator = LocaleChar(LOCALE_STHOUSAND, s.ThousandSeparator);
    s.DateSeparator = LocaleChar(LOCALE_SDATE, s.DateSeparator);
    s.TimeSeparator = LocaleChar(LOCALE_STIME, s.TimeSeparator);
    s.CurrencyString = LocaleText(LOCALE_SCURRENCY, s.CurrencyString);
    s.ShortDateFormat = LocaleText(LOCALE_SSHORTDATE, s.ShortDateFormat);
    s.LongTimeFormat = TimePattern(LocaleText(LOCALE_STIMEFORMAT, s.LongTimeFormat));
    s.TimeAMString = LocaleText(LOCALE_S1159, s.TimeAMString);
    s.TimePMString = LocaleText(LOCALE_S2359, s.TimePMString);
    for (int i = 0; i < 12; ++i) {
        s.ShortMonthNames[i] = LocaleText(LOCALE_SABBREVMONTHNAME1 + i, s.ShortMonthNames[i]);
        s.LongMonthNames[i] = LocaleText(LOCALE_SMONTHNAME1 + i, s.LongMonthNames[i]);
    }
    // Windows counts days from Monday; the formatter from Sunday.
    for (int i = 0; i < 7; ++i) {
        int day = (i + 6) % 7;
        s.ShortDayNames[i] = LocaleText(LOCALE_SABBREVDAYNAME1 + day, s.ShortDayNames[i]);
        s.LongDayNames[i] = LocaleText(LOCALE_SDAYNAME1 + day, s.LongDayNames[i]);
    }
    return s;
}

}  // namespace mlt
