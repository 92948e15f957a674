// A PDF number for content and font operators: rounded to at most three decimals, with
// no trailing zeros and no "-0". Integer arithmetic: this runs several times per cell.
#pragma once

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace mlt {

inline void AppendPdfNumber(std::string& out, double value, int decimals = 3) {
    static constexpr std::int64_t kScale[] = {1, 10, 100, 1000};
    const std::int64_t scale = kScale[decimals];
    char digits[32];
    const double scaled = value * static_cast<double>(scale);
    if (!(std::fabs(scaled) < 1e15)) {  // beyond any page, or not a number
        auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
        out.append(digits, end);
        return;
    }
    // Halves round away from zero, as std::round does; the difference below is exact.
    std::int64_t units = static_cast<std::int64_t>(scaled);
    const double rest = scaled - static_cast<double>(units);
    if (rest >= 0.5) ++units;
    else if (rest <= -0.5) --units;
    if (units < 0) out += '-';
    const std::uint64_t magnitude = units < 0 ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
    char* end = std::to_chars(digits, digits + sizeof digits, magnitude / scale).ptr;
    std::uint64_t fraction = magnitude % scale;
    if (fraction != 0) {
        int places = decimals;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --places;
        }
        *end++ = '.';
        for (int i = places - 1; i >= 0; --i, fraction /= 10) end[i] = static_cast<char>('0' + fraction % 10);
        end += places;
    }
    out.append(digits, end);
}

}  // namespace mlt
