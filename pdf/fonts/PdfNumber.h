// A PDF number for content and font operators: rounded to at most three decimals, with
// no trailing zeros and no "-0". Integer arithmetic: this runs several times per cell.
#pragma once

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

namespace mlt {

// Room that WritePdfNumber needs.
constexpr std::size_t kPdfNumberChars = 32;

// Writes the number at `out`, which has room for kPdfNumberChars; returns its end.
inline char* WritePdfNumber(char* out, double value, int decimals = 3) {
    static constexpr std::int64_t kScale[] = {1, 10, 100, 1000};
    const std::int64_t scale = kScale[decimals];
    const double scaled = value * static_cast<double>(scale);
    if (!(std::fabs(scaled) < 1e15)) {  // beyond any page, or not a number
        const std::to_chars_result result = std::to_chars(out, out + kPdfNumberChars, value, std::chars_format::fixed, decimals);
        if (result.ec == std::errc()) return result.ptr;
        *out = '0';
        return out + 1;
    }
    // Halves round away from zero, as std::round does; the difference below is exact.
    std::int64_t units = static_cast<std::int64_t>(scaled);
    const double rest = scaled - static_cast<double>(units);
    if (rest >= 0.5) ++units;
    else if (rest <= -0.5) --units;
    if (units < 0) *out++ = '-';
    const std::uint64_t magnitude = units < 0 ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
    char* end = std::to_chars(out, out + kPdfNumberChars - 1, magnitude / scale).ptr;
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
    return end;
}

inline void AppendPdfNumber(std::string& out, double value, int decimals = 3) {
    char digits[kPdfNumberChars];
    out.append(digits, WritePdfNumber(digits, value, decimals));
}

}  // namespace mlt
