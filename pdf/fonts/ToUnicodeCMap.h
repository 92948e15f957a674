// The ToUnicode CMap of an embedded font: from each two-byte glyph id drawn to the
// characters it stands for (UTF-16BE), so that copying and text extraction give back
// the text. Glyphs without text (the missing glyph) are left out.
#pragma once

#include <string>

#include "pdf/fonts/TrueTypeFont.h"

namespace mlt {

std::string ToUnicodeCMap(const TTrueTypeFont& font);

}  // namespace mlt
