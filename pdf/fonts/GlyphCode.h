// The character codes that show an embedded font's glyphs in the content streams. Each
// glyph a document draws gets a code number on its first use (TTrueTypeFont::Use), and
// the code numbers below 192 (enough for most documents in one alphabet) take one byte
// each: <00> to <BF>; the next 16,384 take two, <C000> to <FFFF>. A code's value is also its glyph's CID, so the
// encoding CMap is the identity over this code space, and the CIDFont's CIDToGIDMap finds
// the glyph.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mlt {

constexpr std::uint32_t kOneByteGlyphCodes = 0xC0;
constexpr std::uint32_t kGlyphCodeCount = kOneByteGlyphCodes + 0x4000;

// The encoding CMap's code space and its ranges of CIDs, as the CMap writes them.
constexpr std::string_view kGlyphCodeSpace = "2 begincodespacerange\n<00> <BF>\n<C000> <FFFF>\nendcodespacerange\n";
constexpr std::string_view kGlyphCodeCids = "2 begincidrange\n<00> <BF> 0\n<C000> <FFFF> 49152\nendcidrange\n";

// The value (and CID) of code number `n`, below kGlyphCodeCount.
constexpr std::uint32_t GlyphCodeValue(std::uint32_t n) {
    return n < kOneByteGlyphCodes ? n : 0xC000 + (n - kOneByteGlyphCodes);
}

// Writes the bytes of code number `n` at `at`, escaped as a literal string needs them
// (at most four bytes), and returns the end.
inline char* PutGlyphCode(char* at, std::uint32_t n) {
    const std::uint32_t value = GlyphCodeValue(n);
    auto put = [&at](char byte) {
        switch (byte) {
        case '(': case ')': case '\\': *at++ = '\\'; *at++ = byte; break;
        case '\r': *at++ = '\\'; *at++ = 'r'; break;
        case '\n': *at++ = '\\'; *at++ = 'n'; break;
        default: *at++ = byte;
        }
    };
    if (value > 0xFF) put(static_cast<char>(value >> 8));
    put(static_cast<char>(value & 0xFF));
    return at;
}

inline void AppendGlyphCode(std::string& out, std::uint32_t n) {
    char bytes[4];
    out.append(bytes, PutGlyphCode(bytes, n));
}

// Appends code number `n` as a CMap writes it: <hex digits>.
inline void AppendGlyphCodeHex(std::string& out, std::uint32_t n) {
    static constexpr char hex[] = "0123456789ABCDEF";
    const std::uint32_t value = GlyphCodeValue(n);
    out += '<';
    for (int shift = value > 0xFF ? 12 : 4; shift >= 0; shift -= 4) out += hex[(value >> shift) & 0xF];
    out += '>';
}

}  // namespace mlt
