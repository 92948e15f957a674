#include "data/CsvColumnType.h"

#include <array>
#include <charconv>
#include <limits>
#include <optional>

#include "data/RecordSource.h"
#include "rtl/CodePage.h"
#include "rtl/Exception.h"
#include "rtl/IsoDateTime.h"
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
            if (auto value = ParseIsoDateTime(text)) return Variant::Date(value->OleDate());
            return std::nullopt;
        case TCsvType::Time:
            if (auto value = ParseIsoDateTime(text)) {
                TDateParts parts = DecodeDateTime(value->OleDate());
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
