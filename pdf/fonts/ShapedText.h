// TShapedText: a cell's text as glyphs placed left to right, ready to measure and draw.
// Positions are in thousandths of an em, so one shaping serves every font size. Each
// glyph names the characters it stands for, as a range of CodePoints (logical order).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mlt {

struct TPlacedGlyph {
    std::uint32_t Glyph = 0;
    std::uint32_t Font = 0;      // index into the font chain
    float Advance = 0;           // where the next glyph starts, relative to this one
    float OffsetX = 0, OffsetY = 0;
    float PdfWidth = 0;          // the advance the font's widths array gives the glyph
    std::uint32_t TextBegin = 0, TextEnd = 0;
};

struct TShapedText {
    std::vector<TPlacedGlyph> Glyphs;  // visual order
    std::u32string CodePoints;         // the text in logical order
    float Width = 0;                   // sum of the advances
    int Missing = 0;                   // characters that no font of the chain has
    // True when the glyphs alone may not give the text back: shaped left-to-right text,
    // whose joiners vanish and whose missing characters all share one glyph.
    bool NeedsActualText = false;
    // True when each glyph stands for one character, in logical order, without kerning:
    // a start of the text is then as wide as the advances of its glyphs.
    bool Additive = false;
};

}  // namespace mlt
