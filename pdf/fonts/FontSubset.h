// Subsetting an embedded font with HarfBuzz's subset library: the glyphs a document drew,
// at their original glyph ids (so the content streams written earlier stay valid and the
// CIDs map to glyphs by identity), without the hinting and layout tables that a PDF
// viewer does not read. Throws Exception when HarfBuzz cannot subset the font.
#pragma once

#include <string>

#include "pdf/fonts/TrueTypeFont.h"

namespace mlt {

// The font program of `font` cut down to font.UsedGlyphs(), ready for a FontFile2 stream.
std::string SubsetUsedGlyphs(const TTrueTypeFont& font);

}  // namespace mlt
