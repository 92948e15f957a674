#include "data/CsvColumnType.h"

#include <array>
#include <charconv>
#include <limits>
#include <optional>

#include "data/RecordSource.h"
#include "rtl/CodePage.h"
#include "rtl/Exception.h"
#include "rtl/TextUtils.h"

namespace mlt {

namespace {

struct TTypeName {
    std::string_view Name;
    TCsvType Type;
};

constexpr std::array kTypeNames = {
    TTypeName{"text", TCsvType::Text},     TTypeName{"int", TCsvType::Integer},
    TTypeName{"integer", TCsvType::Integer}, TTypeName{"real", TCsvType::Real},
    TTypeName{"float", TCsvType::Real},    TTypeName{"double", TCsvType::Real},
    TTypeName{"date", TCsvType::Date},     TTypeName{"datetime", TCsvType::DateTime},
    TTypeName{"time", TCsvType::Time},     TTypeName{"bool", TCsvType::Boolean},
    TTypeName{"boolean", TCsvType::Boolean},
};

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

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

// An OLE date; before 1899-12-30 the time of day still counts forward, so it is subtracted.
std::optional<TDateTime> ParseIsoDateTime(std::string_view text) {
    std::optional<TDateTime> date, time;
    if (text.size() > 2 && text[2] == ':') {
        time = TakeTime(text);
        if (!time) return std::nullopt;
    } else {
        date = TakeDate(text);
        if (!date) return std::nullopt;
        if (TakeChar(text, ' ') || TakeChar(text, 'T')) {
            time = TakeTime(text);
            if (!time) return std::nullopt;
        }
    }
    if (!text.empty()) return std::nullopt;
    TDateTime day = date.value_or(0), fraction = time.value_or(0);
    return day >= 0 ? day + fraction : day - fraction;
}

template <typename T>
std::optional<T> ParseNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    T value{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<bool> ParseBoolean(std::string_view text) {
    for (std::string_view yes : {"true", "yes", "t", "y", "1"})
        if (SameText(text, yes)) return true;
    for (std::string_view no : {"false", "no", "f", "n", "0"})
        if (SameText(text, no)) return false;
    return std::nullopt;
}

std::optional<Variant> TypedValue(TCsvType type, std::string_view text) {
    switch (type) {
        case TCsvType::Integer: {
            auto value = ParseNumber<std::int64_t>(text);
            if (value && *value >= std::numeric_limits<std::int32_t>::min() &&
                *value <= std::numeric_limits<std::int32_t>::max())
                return Variant::Integer(static_cast<std::int32_t>(*value));
            return std::nullopt;
        }
        case TCsvType::Real:
            if (auto value = ParseNumber<double>(text)) return Variant::Double(*value);
            return std::nullopt;
        case TCsvType::Date:
        case TCsvType::DateTime:
            if (auto value = ParseIsoDateTime(text)) return Variant::Date(*value);
            return std::nullopt;
        case TCsvType::Time:
            if (auto value = ParseIsoDateTime(text)) {
                TDateParts parts = DecodeDateTime(*value);
                return Variant::Date(EncodeTime(parts.Hour, parts.Minute, parts.Second, parts.Millisecond));
            }
            return std::nullopt;
        case TCsvType::Boolean:
            if (auto value = ParseBoolean(text)) return Variant::Boolean(*value);
            return std::nullopt;
        case TCsvType::Text:
            break;
    }
    return std::nullopt;
}

}  // namespace

std::vector<TCsvType> ParseCsvTypes(std::string_view list) {
    std::vector<TCsvType> types;
    if (TrimBlanks(list).empty()) return types;
    for (;;) {
        std::size_t comma = list.find(',');
        std::string_view name = TrimBlanks(list.substr(0, comma));
        TCsvType type = TCsvType::Text;
        if (!name.empty()) {
            const TTypeName* found = nullptr;
            for (const TTypeName& known : kTypeNames)
                if (SameText(known.Name, name)) found = &known;
            if (!found)
                throw EDatabaseError("unknown CSV column type '" + std::string(name) +
                                     "' (known: text, int, real, date, datetime, time, bool)");
            type = found->Type;
        }
        types.push_back(type);
        if (comma == std::string_view::npos) return types;
        list.remove_prefix(comma + 1);
    }
}

int CsvAdoType(TCsvType type) {
    switch (type) {
        case TCsvType::Integer: return adInteger;
        case TCsvType::Real: return adDouble;
        case TCsvType::Date: return adDBDate;
        case TCsvType::DateTime: return adDBTimeStamp;
        case TCsvType::Time: return adDBTime;
        case TCsvType::Boolean: return adBoolean;
        case TCsvType::Text: break;
    }
    return adVarChar;
}

Variant CsvCellValue(TCsvType type, std::string_view cell) {
    if (type == TCsvType::Text) return Variant::String(Utf8ToAnsi(cell));
    std::string_view text = TrimBlanks(cell);
    if (text.empty()) return Variant::Null();
    if (std::optional<Variant> value = TypedValue(type, text)) return *value;
    return Variant::String(Utf8ToAnsi(cell));
}

}  // namespace mlt
