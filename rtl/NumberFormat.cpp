#include "rtl/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "rtl/TextUtils.h"

namespace mlt {

std::string FloatToStr(double value, const TFormatSettings& settings) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    if (value == 0) return "0";
    // 15 significant digits in scientific form give the digits and the exponent.
    char buffer[40];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    bool negative = text[0] == '-';
    if (negative) text.remove_prefix(1);
    std::size_t e = text.find('e');
    int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
    std::string digits;
    for (char c : text.substr(0, e))
        if (c != '.') digits += c;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out = negative ? "-" : "";
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
                out.append(digits, 0, intDigits);
                out += settings.DecimalSeparator;
                out.append(digits, intDigits, std::string::npos);
            }
        }
        return out;
    }
    out += digits[0];
    if (digits.size() > 1) {
        out += settings.DecimalSeparator;
        out.append(digits, 1, std::string::npos);
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
    std::string out = negative ? "-" : "";
    out += std::to_string(whole);
    if (fraction != 0) {
        char digits[5];
        std::snprintf(digits, sizeof digits, "%04u", static_cast<unsigned>(fraction));
        std::string tail(digits);
        while (tail.back() == '0') tail.pop_back();
        out += settings.DecimalSeparator;
        out += tail;
    }
    return out;
}

}  // namespace mlt
