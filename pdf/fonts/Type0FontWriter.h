// Embedding a font at a document's end: the glyphs the document drew, subset once, as a
// Type 0 font (Identity-H) over a CIDFontType2 whose CIDs are the glyph ids, with a
// widths array of the glyphs used, a FontDescriptor carrying the FontFile2 program, and
// a ToUnicode CMap. The Type 0 font's object number was handed out when a page first
// used the font; the other objects get theirs from the sink. Throws what subsetting throws.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "pdf/fonts/TrueTypeFont.h"

namespace mlt {

struct TPdfObjectSink {
    std::function<std::int64_t()> NewObject;
    // Writes object `number` with `body`: what stands between "N 0 obj" and "endobj".
    std::function<void(std::int64_t number, std::string_view body)> WriteObject;
};

// What an embedded font cost, in bytes: the subset program, and as stored (compressed).
struct TEmbeddedFontSize {
    std::size_t Program = 0;
    std::size_t Stored = 0;
};

TEmbeddedFontSize WriteType0Font(const TTrueTypeFont& font, std::int64_t fontObject, const TPdfObjectSink& sink);

}  // namespace mlt
