#include "pdf/fonts/GlyphTextWriter.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "pdf/fonts/GlyphCode.h"
#include "pdf/fonts/PdfNumber.h"
#include "pdf/fonts/Utf16Hex.h"

namespace mlt {

namespace {

std::atomic<std::int64_t> missing{0};

// The original text as a UTF-16BE string with its byte order mark, in hex.
void AppendActualText(std::string& out, std::u32string_view text) {
    out += "/Span<</ActualText<FEFF";
    AppendUtf16Hex(out, text);
    out += ">>>BDC\n";
}

// Text of the main font placed by its advances alone, as the simple scripts are: one
// string of codes, written in place.
void AppendPlainRun(std::string& out, TTrueTypeFont& font, const TShapedText& text) {
    std::size_t end = out.size();
    out.resize(end + 4 * text.Glyphs.size() + 1);
    char* at = out.data() + end;
    *at++ = '(';
    const std::u32string_view codePoints(text.CodePoints);
    for (const TPlacedGlyph& g : text.Glyphs)
        at = PutGlyphCode(at, font.Use(g.Glyph, codePoints, g.TextBegin, g.TextEnd));
    out.resize(static_cast<std::size_t>(at - out.data()));
    out += ")Tj";
}

}  // namespace

std::int64_t MissingCharacterCount() { return missing.load(std::memory_order_relaxed); }

void AppendGlyphRun(std::string& out, TFontChain& chain, const TShapedText& text,
                    const std::vector<std::string>& fontNames, double size) {
    if (text.Additive && !text.NeedsActualText && text.Missing == 0 &&
        std::all_of(text.Glyphs.begin(), text.Glyphs.end(), [](const TPlacedGlyph& g) { return g.Font == 0; })) {
        AppendPlainRun(out, chain.Main(), text);
        return;
    }
    if (text.Missing) missing.fetch_add(text.Missing, std::memory_order_relaxed);
    const std::size_t start = out.size();
    if (text.NeedsActualText) AppendActualText(out, text.CodePoints);
    // `pen` is where shaping puts the next glyph, `shown` where the PDF's text position
    // stands after the glyphs shown so far; a TJ number closes the gap between them.
    double pen = 0, shown = 0;
    float rise = 0;
    std::uint32_t font = 0;
    bool inArray = false, inString = false, adjusted = false;
    std::size_t arrayStart = 0;
    auto select = [&](std::uint32_t index) {
        out += '/';
        out += fontNames.at(index);
        out += ' ';
        AppendPdfNumber(out, size);
        out += " Tf\n";
        font = index;
    };
    // An array of one string and no numbers is shown with the shorter Tj.
    auto closeArray = [&] {
        if (inString) out += ')';
        if (inArray && adjusted) {
            out += "]TJ\n";
        } else if (inArray) {
            out.erase(arrayStart, 1);
            out += "Tj\n";
        }
        inArray = inString = adjusted = false;
    };
    for (const TPlacedGlyph& g : text.Glyphs) {
        const std::uint32_t code = chain.Fonts[g.Font]->Use(g.Glyph, text.CodePoints, g.TextBegin, g.TextEnd);
        if (g.Font != font || g.OffsetY != rise) {
            closeArray();
            if (g.Font != font) select(g.Font);
            if (g.OffsetY != rise) {
                AppendPdfNumber(out, g.OffsetY * size / 1000);
                out += " Ts\n";
                rise = g.OffsetY;
            }
        }
        if (!inArray) {
            arrayStart = out.size();
            out += '[';
            inArray = true;
        }
        double target = pen + g.OffsetX;
        if (std::abs(shown - target) >= 0.05) {
            if (inString) out += ')';
            inString = false;
            AppendPdfNumber(out, shown - target);
            shown = target;
            adjusted = true;
        }
        if (!inString) {
            out += '(';
            inString = true;
        }
        AppendGlyphCode(out, code);
        shown += g.PdfWidth;
        pen += g.Advance;
    }
    closeArray();
    if (rise != 0) out += "0 Ts\n";
    if (font != 0) select(0);
    if (text.NeedsActualText) out += "EMC\n";
    // The caller goes on after the last operator on the same line.
    if (out.size() > start && out.back() == '\n') out.pop_back();
}

}  // namespace mlt
