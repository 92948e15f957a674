#include "rtl/DateTime.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "rtl/NumberFormat.h"
#include "rtl/TextUtils.h"

namespace mlt {

namespace {

constexpr double kMillisecondsPerDay = 86400000.0;
// Days from 0000-03-01 to 1899-12-30 in the proleptic Gregorian calendar.
constexpr std::int64_t kEpochOffset = 693899;

void CivilFromDays(std::int64_t days, int& year, int& month, int& day) {
    days += kEpochOffset;
    std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    std::int64_t doe = days - era * 146097;
    std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

std::int64_t DaysFromCivil(int year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    std::int64_t yoe = year - era * 400;
    std::int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - kEpochOffset;
}

// The number in decimal, with zeros in front up to `width` characters.
void AppendPadded(std::string& out, int value, int width = 1) {
    char digits[16];
    const auto length = static_cast<int>(std::to_chars(digits, digits + sizeof digits, value).ptr - digits);
    if (length < width) out.append(static_cast<std::size_t>(width - length), '0');
    out.append(digits, static_cast<std::size_t>(length));
}

char Up(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view word) {
    return text.size() - at >= word.size() && SameText(text.substr(at, word.size()), word);
}

std::size_t AmPmMarkerLength(std::string_view pattern, std::size_t at) {
    for (std::string_view marker : {"AM/PM", "A/P", "AMPM"})
        if (StartsWithNoCase(pattern, at, marker)) return marker.size();
    return 0;
}

// The length of the AM/PM marker at `at` ("AM/PM", "A/P" or "AMPM", in any case), or 0.
std::size_t AmPmMarkerAt(std::string_view pattern, std::size_t at) {
    return Up(pattern[at]) == 'A' ? AmPmMarkerLength(pattern, at) : 0;
}

// True when the pattern has an AM/PM marker outside quotes, which makes hours 12-hour.
bool UsesTwelveHours(std::string_view pattern) {
    char quote = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (AmPmMarkerAt(pattern, i) > 0) {
            return true;
        }
    }
    return false;
}

std::size_t RunLength(std::string_view pattern, std::size_t at) {
    std::size_t n = 1;
    while (at + n < pattern.size() && Up(pattern[at + n]) == Up(pattern[at])) ++n;
    return n;
}

void Format(std::string& out, std::string_view pattern, const TDateParts& p, const TFormatSettings& s, int depth);

void AppendDefault(std::string& out, const TDateParts& p, const TFormatSettings& s, int depth) {
    Format(out, s.ShortDateFormat, p, s, depth + 1);
    if (p.Hour != 0 || p.Minute != 0 || p.Second != 0) {
        out += ' ';
        Format(out, s.LongTimeFormat, p, s, depth + 1);
    }
}

void Format(std::string& out, std::string_view pattern, const TDateParts& p, const TFormatSettings& s, int depth) {
    if (depth > 2) return;
    const bool twelve = UsesTwelveHours(pattern);
    bool afterHour = false;
    for (std::size_t i = 0; i < pattern.size();) {
        char c = pattern[i];
        char u = Up(c);
        if (c == '"' || c == '\'') {
            std::size_t end = pattern.find(c, i + 1);
            if (end == std::string_view::npos) end = pattern.size();
            out.append(pattern.substr(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        if (const std::size_t marker = AmPmMarkerAt(pattern, i)) {
            const bool am = p.Hour < 12;
            if (marker == 5) out += am ? (c == 'a' ? "am" : "AM") : (c == 'a' ? "pm" : "PM");  // AM/PM
            else if (marker == 3) out += am ? (c == 'a' ? 'a' : 'A') : (c == 'a' ? 'p' : 'P');  // A/P
            else out += am ? s.TimeAMString : s.TimePMString;  // AMPM
            i += marker;
            continue;
        }
        std::size_t n = RunLength(pattern, i);
        switch (u) {
            case 'Y':
                AppendPadded(out, n <= 2 ? p.Year % 100 : p.Year, n <= 2 ? 2 : 4);
                break;
            case 'M':
                if (afterHour && n <= 2) {
                    AppendPadded(out, p.Minute, n == 1 ? 1 : 2);
                } else if (n == 1) {
                    AppendPadded(out, p.Month);
                } else if (n == 2) {
                    AppendPadded(out, p.Month, 2);
                } else if (n == 3) {
                    out += s.ShortMonthNames[static_cast<std::size_t>(p.Month - 1)];
                } else {
                    out += s.LongMonthNames[static_cast<std::size_t>(p.Month - 1)];
                }
                break;
            case 'D':
                if (n == 1) AppendPadded(out, p.Day);
                else if (n == 2) AppendPadded(out, p.Day, 2);
                else if (n == 3) out += s.ShortDayNames[static_cast<std::size_t>(p.DayOfWeek)];
                else if (n == 4) out += s.LongDayNames[static_cast<std::size_t>(p.DayOfWeek)];
                else Format(out, s.ShortDateFormat, p, s, depth + 1);
                break;
            case 'H': {
                int hour = p.Hour;
                if (twelve) {
                    hour %= 12;
                    if (hour == 0) hour = 12;
                }
                AppendPadded(out, hour, n == 1 ? 1 : 2);
                break;
            }
            case 'N':
                AppendPadded(out, p.Minute, n == 1 ? 1 : 2);
                break;
            case 'S':
                AppendPadded(out, p.Second, n == 1 ? 1 : 2);
                break;
            case 'Z':
                AppendPadded(out, p.Millisecond, n < 3 ? 1 : 3);
                break;
            case '/':
                out.append(n, s.DateSeparator);
                break;
            case ':':
                out.append(n, s.TimeSeparator);
                break;
            default:
                out.append(pattern.substr(i, n));
                break;
        }
        // "m" right after an hour (separators between) means minutes.
        if (u == 'H') afterHour = true;
        else if (u >= 'A' && u <= 'Z') afterHour = false;
        i += n;
    }
}

}  // namespace

bool IsDateTime(TDateTime value) { return value >= MinDateTime && value < MaxDateTime; }

TDateParts DecodeDateTime(TDateTime value) {
    TDateParts p;
    if (!IsDateTime(value)) value = value >= MaxDateTime ? MaxDateTime - 1.0 / kMillisecondsPerDay : MinDateTime;
    // Round to the millisecond first, so 0.99999999 days is the next midnight.
    double ms = std::round(value * kMillisecondsPerDay);
    auto total = static_cast<std::int64_t>(ms);
    std::int64_t days = total / 86400000;
    std::int64_t rest = total % 86400000;
    if (rest < 0) rest = -rest;  // the time of day of a date before 1899 counts forward too
    CivilFromDays(days, p.Year, p.Month, p.Day);
    p.DayOfWeek = static_cast<int>(((days % 7) + 7 + 6) % 7);
    p.Hour = static_cast<int>(rest / 3600000);
    p.Minute = static_cast<int>(rest / 60000 % 60);
    p.Second = static_cast<int>(rest / 1000 % 60);
    p.Millisecond = static_cast<int>(rest % 1000);
    return p;
}

TDateTime EncodeDate(int year, int month, int day) { return static_cast<double>(DaysFromCivil(year, month, day)); }

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
    return (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + millisecond) / kMillisecondsPerDay;
}

std::string FormatDateTime(std::string_view pattern, TDateTime value, const TFormatSettings& settings) {
    if (!IsDateTime(value)) return FloatToStr(value, settings);
    std::string out;
    TDateParts parts = DecodeDateTime(value);
    if (pattern.empty() || SameText(pattern, "c")) AppendDefault(out, parts, settings, 0);
    else Format(out, pattern, parts, settings, 0);
    return out;
}

std::string DateToStr(TDateTime value, const TFormatSettings& settings) {
    return FormatDateTime(settings.ShortDateFormat, value, settings);
}

std::string TimeToStr(TDateTime value, const TFormatSettings& settings) {
    return FormatDateTime(settings.LongTimeFormat, value, settings);
}

std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings) {
    if (!IsDateTime(value)) return FloatToStr(value, settings);
    std::string out;
    AppendDefault(out, DecodeDateTime(value), settings, 0);
    return out;
}

}  // namespace mlt
