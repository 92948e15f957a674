// TAsciiRun: plain ASCII text in an embedded font's main font, measured and shown by table
// without the shaper: the commonest cell text, at a few instructions a character. It gives
// the shaper's widths and the glyph writer's bytes for such text to the bit, so a cell
// looks the same whichever path drew it. One per font and document, like the font's codes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "pdf/fonts/TrueTypeFont.h"

namespace mlt {

class TAsciiRun {
public:
    explicit TAsciiRun(TTrueTypeFont& font);

    // Whether every character of `text` is printable ASCII that the font has.
    bool Covers(std::string_view text) const;
    // In thousandths of an em, summed in the order the shaper sums them.
    float Width(std::string_view text) const;
    // How many characters fit within `limit` thousandths of an em.
    std::size_t Fit(std::string_view text, double limit) const;
    // "(codes)Tj", recording the glyphs as used.
    void Show(std::string& out, std::string_view text);

private:
    struct TEntry {
        bool Plain = false;
        std::uint8_t CodeBytes = 0;  // 0 until the character is first shown
        char Code[4] = {};           // its glyph's code as the string carries it
        std::uint32_t Glyph = 0;
        float Width = 0;
    };

    TTrueTypeFont& font_;
    std::array<TEntry, 128> entries_{};
    bool allPrintable_ = true;  // the font has every printable ASCII character
};

}  // namespace mlt
