#include "rtl/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>

#include "rtl/TextUtils.h"

namespace mlt {

namespace {

// A value's significant digits, without trailing zeros, and the decimal exponent of the
// first: 1234.5 is "12345" and 3.
struct TDecimalDigits {
    char Digits[20];
    std::size_t Count = 0;
    int Exponent = 0;
};

// Reads the scientific text "d.ddde+XX" of a positive value.
TDecimalDigits ReadScientific(const char* first, const char* last) {
    TDecimalDigits result;
    const char* e = first;
    for (; *e != 'e'; ++e)
        if (*e != '.') result.Digits[result.Count++] = *e;
    while (result.Count > 1 && result.Digits[result.Count - 1] == '0') --result.Count;
    const char* exponent = e + 1;
    if (*exponent == '+') ++exponent;
    std::from_chars(exponent, last, result.Exponent);
    return result;
}

// The value rounded to 15 significant digits. The shortest digits that read back as a
// normal double are that rounding whenever there are 15 of them or fewer: a double is
// closer to them than half a unit of the 15th digit. Only longer ones (and subnormal
// values, whose precision is less) need the slower fixed-precision conversion.
TDecimalDigits FifteenDigits(double magnitude) {
    char text[40];
    auto shortest = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific);
    if (magnitude >= std::numeric_limits<double>::min()) {
        TDecimalDigits digits = ReadScientific(text, shortest.ptr);
        if (digits.Count <= 15) return digits;
    }
    auto rounded = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific, 14);
    return ReadScientific(text, rounded.ptr);
}

// Whole cents, the commonest numbers of a report, without a digit search: when value * 100
// comes out a whole number below 10^15, the value lies closer to that many cents than to any
// other number of 15 significant digits, so that is its 15-digit rounding.
std::optional<std::string> CentsToStr(double value, const TFormatSettings& settings) {
    const double cents = std::fabs(value * 100);
    if (!(cents < 1e15) || cents != std::trunc(cents)) return std::nullopt;
    const auto whole = static_cast<std::int64_t>(cents);
    std::string out = value < 0 ? "-" : "";
    out += IntToStr(whole / 100);
    if (whole % 100 != 0) {
        out += settings.DecimalSeparator;
        out += static_cast<char>('0' + whole % 100 / 10);
        if (whole % 10 != 0) out += static_cast<char>('0' + whole % 10);
    }
    return out;
}

}  // namespace

std::string FloatToStr(double value, const TFormatSettings& settings) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    if (value == 0) return "0";
    if (auto cents = CentsToStr(value, settings)) return *std::move(cents);
    const TDecimalDigits d = FifteenDigits(std::fabs(value));
    const std::string_view digits(d.Digits, d.Count);
    const int exponent = d.Exponent;

    std::string out = value < 0 ? "-" : "";
    if (exponent >= -5 && exponent < 15) {
        if (exponent < 0) {
            out += '0';
            out += settings.DecimalSeparator;
            out.append(static_cast<std::size_t>(-exponent - 1), '0');
            out += digits;
        } else {
            auto intDigits = static_cast<std::size_t>(exponent + 1);
            if (digits.size() <= intDigits) {
                out += digits;
                out.append(intDigits - digits.size(), '0');
            } else {
                out.append(digits.substr(0, intDigits));
                out += settings.DecimalSeparator;
                out.append(digits.substr(intDigits));
            }
        }
        return out;
    }
    out += digits[0];
    if (digits.size() > 1) {
        out += settings.DecimalSeparator;
        out.append(digits.substr(1));
    }
    out += 'E';
    out += IntToStr(exponent);
    return out;
}

std::string CurrToStr(Currency value, const TFormatSettings& settings) {
    bool negative = value < 0;
    std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::uint64_t whole = magnitude / kCurrencyScale;
    std::uint64_t fraction = magnitude % kCurrencyScale;
    char text[32];
    char* end = text;
    if (negative) *end++ = '-';
    end = std::to_chars(end, text + sizeof text, whole).ptr;
    if (fraction != 0) {
        // Four places, less the trailing zeros.
        int places = 4;
        for (; fraction % 10 == 0; fraction /= 10) --places;
        *end++ = settings.DecimalSeparator;
        for (int i = places - 1; i >= 0; --i, fraction /= 10) end[i] = static_cast<char>('0' + fraction % 10);
        end += places;
    }
    return std::string(text, end);
}

}  // namespace mlt
