// Embedding a font at a document's end: the glyphs the document drew, subset once, as a
// Type 0 font over a CIDFontType2 whose CIDs are the content's codes (GlyphCode.h), with
// a CIDToGIDMap to the glyphs, a widths array, a FontDescriptor carrying the FontFile2
// program, an encoding CMap and a ToUnicode CMap (FontCMaps.h). The Type 0
// font's object number was handed out when a page first used the font; the other objects
// get theirs from the writer. The font program and the CMaps are compressed whether or
// not the document compresses its pages. Throws what subsetting throws.
#pragma once

#include <cstdint>
#include <cstddef>

#include "pdf/ObjectWriter.h"
#include "pdf/fonts/TrueTypeFont.h"

namespace mlt {

// What an embedded font cost, in bytes: the subset program, and as stored (compressed).
struct TEmbeddedFontSize {
    std::size_t Program = 0;
    std::size_t Stored = 0;
};

TEmbeddedFontSize WriteType0Font(const TTrueTypeFont& font, std::int64_t fontObject, TObjectWriter& writer);

}  // namespace mlt
