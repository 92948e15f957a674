// Small 8-bit text helpers shared by every layer. Upper-casing and case-insensitive
// comparison touch ASCII letters only, so results never depend on a locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mlt {

std::string UpperCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);
// A hash that agrees with SameText: equal ignoring ASCII case gives equal hashes.
std::size_t HashText(std::string_view text);

// Replaces every "%s" with the argument, as the message texts expect.
std::string FormatMessage(std::string_view pattern, std::string_view argument);

// Reads a whole text as a 32-bit integer: leading blanks, an optional sign, then decimal
// digits or hexadecimal ones after $, x, X, 0x or 0X. Anything else, an empty text or an
// out-of-range value gives no value.
std::optional<std::int32_t> TryStrToInt(std::string_view text);

std::string IntToStr(std::int64_t value);

struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return HashText(text); }
};
struct TextEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return SameText(a, b); }
};

}  // namespace mlt
