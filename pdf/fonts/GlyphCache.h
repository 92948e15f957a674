// TGlyphCache: what a font answered for each code point it was asked about, so that a
// report asks HarfBuzz once per font and character, not once per cell. Code points are
// kept in pages of 256 that are allocated the first time one of their characters is
// asked for; after that a lookup is two array reads and allocates nothing.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

namespace mlt {

struct TCachedGlyph {
    static constexpr std::uint32_t Unknown = 0xFFFFFFFF;
    std::uint32_t Glyph = Unknown;  // 0 when the font has no glyph for the character
    float Width = 0;                // the glyph's advance in thousandths of an em
};

class TGlyphCache {
public:
    static constexpr char32_t MaxCodePoint = 0x10FFFF;

    // The entry for `cp` (at most MaxCodePoint); its Glyph is Unknown until filled in.
    TCachedGlyph& At(char32_t cp) {
        auto& page = pages_[cp >> 8];
        if (!page) [[unlikely]]
            page = std::make_unique<TCachedGlyph[]>(256);
        return page[cp & 0xFF];
    }

private:
    std::array<std::unique_ptr<TCachedGlyph[]>, (MaxCodePoint >> 8) + 1> pages_;
};

}  // namespace mlt
