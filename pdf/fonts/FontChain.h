// TFontChain: a main font and the fallback fonts that cover the characters it lacks,
// tried in order, character by character. The chain does not own its fonts. A character
// that no font of the chain has shows as the main font's missing glyph;
// MissingCharacterCount counts those drawn.
#pragma once

#include <cstdint>
#include <vector>

#include "pdf/fonts/TrueTypeFont.h"

namespace mlt {

class TFontChain {
public:
    explicit TFontChain(std::vector<TTrueTypeFont*> fonts) : Fonts(std::move(fonts)) {}

    // The first font (by index) that has `cp`, or -1 when none has it.
    int FontFor(char32_t cp) {
        for (std::size_t i = 0; i < Fonts.size(); ++i)
            if (Fonts[i]->Has(cp)) return static_cast<int>(i);
        return -1;
    }
    TTrueTypeFont& Main() { return *Fonts.front(); }

    std::vector<TTrueTypeFont*> Fonts;
};

// How many characters that no font of their chain has were drawn since the process
// started, on every thread.
std::int64_t MissingCharacterCount();

}  // namespace mlt
