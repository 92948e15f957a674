// Text as the hex digits of UTF-16BE, as ToUnicode CMaps and PDF text strings hold it.
#pragma once

#include <string>
#include <string_view>

namespace mlt {

inline void AppendHex16(std::string& out, unsigned value) {
    static constexpr char hex[] = "0123456789ABCDEF";
    for (int shift = 12; shift >= 0; shift -= 4) out += hex[(value >> shift) & 0xF];
}

inline void AppendUtf16Hex(std::string& out, std::u32string_view text) {
    for (char32_t c : text) {
        if (c >= 0x10000) {
            AppendHex16(out, 0xD800 + ((c - 0x10000) >> 10));
            AppendHex16(out, 0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            AppendHex16(out, static_cast<unsigned>(c));
        }
    }
}

}  // namespace mlt
