#include "rtl/IsoDateTime.h"

namespace mlt {

namespace {

// Reads exactly `count` digits at the front of the text.
std::optional<int> TakeDigits(std::string_view& text, std::size_t count) {
    if (text.size() < count) return std::nullopt;
    int value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    text.remove_prefix(count);
    return value;
}

bool TakeChar(std::string_view& text, char c) {
    if (text.empty() || text.front() != c) return false;
    text.remove_prefix(1);
    return true;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

std::optional<TDateTime> TakeDate(std::string_view& text) {
    constexpr std::array<int, 12> kDays = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    auto year = TakeDigits(text, 4);
    if (!year || !TakeChar(text, '-')) return std::nullopt;
    auto month = TakeDigits(text, 2);
    if (!month || *month < 1 || *month > 12 || !TakeChar(text, '-')) return std::nullopt;
    auto day = TakeDigits(text, 2);
    if (!day || *day < 1 || *day > kDays[static_cast<std::size_t>(*month - 1)]) return std::nullopt;
    if (*month == 2 && *day == 29 && !IsLeapYear(*year)) return std::nullopt;
    return EncodeDate(*year, *month, *day);
}

std::optional<TDateTime> TakeTime(std::string_view& text) {
    auto hour = TakeDigits(text, 2);
    if (!hour || *hour > 23 || !TakeChar(text, ':')) return std::nullopt;
    auto minute = TakeDigits(text, 2);
    if (!minute || *minute > 59) return std::nullopt;
    int second = 0, millisecond = 0;
    if (TakeChar(text, ':')) {
        auto s = TakeDigits(text, 2);
        if (!s || *s > 59) return std::nullopt;
        second = *s;
        if (TakeChar(text, '.')) {
            std::size_t digits = 0;
            for (int scale = 100; digits < text.size() && text[digits] >= '0' && text[digits] <= '9'; ++digits) {
                millisecond += (text[digits] - '0') * scale;
                scale /= 10;
            }
            if (digits == 0) return std::nullopt;
            text.remove_prefix(digits);
        }
    }
    return EncodeTime(*hour, *minute, second, millisecond);
}

}  // namespace

TDateTime TIsoDateTime::OleDate() const {
    TDateTime day = Date.value_or(0), fraction = Time.value_or(0);
    return day >= 0 ? day + fraction : day - fraction;
}

std::optional<TIsoDateTime> ParseIsoDateTime(std::string_view text) {
    TIsoDateTime result;
    if (text.size() > 2 && text[2] == ':') {
        result.Time = TakeTime(text);
        if (!result.Time) return std::nullopt;
    } else {
        result.Date = TakeDate(text);
        if (!result.Date) return std::nullopt;
        if (TakeChar(text, ' ') || TakeChar(text, 'T')) {
            result.Time = TakeTime(text);
            if (!result.Time) return std::nullopt;
        }
    }
    if (!text.empty()) return std::nullopt;
    return result;
}

}  // namespace mlt
