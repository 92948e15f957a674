// A PDF number for font and text operators: at most three decimals, no trailing zeros.
#pragma once

#include <charconv>
#include <cmath>
#include <string>

namespace mlt {

inline void AppendPdfNumber(std::string& out, double value) {
    char digits[32];
    double rounded = std::round(value * 1000) / 1000;
    if (rounded == 0) rounded = 0;  // no "-0"
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, rounded, std::chars_format::fixed, 3);
    while (end[-1] == '0') --end;
    if (end[-1] == '.') --end;
    out.append(digits, end);
}

}  // namespace mlt
