// Subsetting an embedded font with HarfBuzz's subset library: the glyphs a document drew,
// renumbered from 0 in the order of their old glyph ids, without the hinting and layout
// tables that a PDF viewer does not read. The content streams name glyphs by their codes
// (GlyphCode.h), so the renumbering reaches only the CIDToGIDMap. Throws Exception when
// HarfBuzz cannot subset the font.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pdf/fonts/TrueTypeFont.h"

namespace mlt {

struct TFontSubset {
    std::string Program;  // for a FontFile2 stream
    // Per code number of the font's UsedGlyphs: the glyph's id in Program.
    std::vector<std::uint32_t> Glyphs;
};

TFontSubset SubsetUsedGlyphs(const TTrueTypeFont& font);

}  // namespace mlt
