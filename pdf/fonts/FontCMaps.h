// The two CMaps of an embedded font, over the codes that the content streams show its
// glyphs with (GlyphCode.h). The encoding CMap maps each code to the CID of the same
// value. The ToUnicode CMap maps each code to the characters its glyph stands for
// (UTF-16BE), so that copying and text extraction give back the text; glyphs without
// text (the missing glyph) are left out of it.
#pragma once

#include <string>
#include <string_view>

#include "pdf/fonts/TrueTypeFont.h"

namespace mlt {

// The encoding CMap's PostScript text, under the CMap name `name`.
std::string EncodingCMap(std::string_view name);
std::string ToUnicodeCMap(const TTrueTypeFont& font);

}  // namespace mlt
