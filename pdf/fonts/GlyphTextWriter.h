// Drawing a shaped text: the content-stream operators that show its glyphs with the
// embedded fonts of a chain (codes of GlyphCode.h), each glyph where
// shaping placed it. A shaped left-to-right text, whose glyphs alone may not give it
// back (joiners vanish, missing characters share one glyph), is wrapped in a
// marked-content span whose ActualText is the original. Drawing records the glyphs
// used on each font and counts the missing characters.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pdf/fonts/FontChain.h"
#include "pdf/fonts/ShapedText.h"

namespace mlt {

// Appends the operators that show `text` at the current text position, with chain font 0
// selected (Tf) at `size`; a switch to a fallback font is undone at the end of the run.
// fontNames[i] is the page resource name (without "/") of chain font i.
void AppendGlyphRun(std::string& out, TFontChain& chain, const TShapedText& text,
                    const std::vector<std::string>& fontNames, double size);

}  // namespace mlt
