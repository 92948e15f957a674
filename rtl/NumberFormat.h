// Numbers as text under explicit settings, in the framework's general formats: no
// thousand separators, the settings' decimal separator, trailing zeros dropped.
#pragma once

#include <cstdint>
#include <string>

#include "rtl/FormatSettings.h"

namespace mlt {

// Fixed-point money: the amount times 10,000.
using Currency = std::int64_t;
constexpr std::int64_t kCurrencyScale = 10000;

// Up to 15 significant digits. Fixed notation while the decimal exponent lies from -5 to
// 14 (so 0.00001 and 999999999999999 stay fixed); exponent notation beyond, written as
// mantissa, "E", an optional "-" and the exponent without padding: 1.5E20, 1E-7.
std::string FloatToStr(double value, const TFormatSettings& settings);

// At most four decimals: 12.5, 3, -0.0001.
std::string CurrToStr(Currency value, const TFormatSettings& settings);

}  // namespace mlt
