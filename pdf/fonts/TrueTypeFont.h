// TTrueTypeFont: one TrueType font file (or one face of a collection) opened through
// HarfBuzz, for measuring, shaping and embedding. It answers the glyph and advance of a
// code point from a per-character cache, and records which glyphs a document drew, the
// code that shows each (GlyphCode.h) and the text each stands for, so that the font can be
// subset once at the document's end.
// The constructor throws Exception when the file cannot be read, is no font, or has
// PostScript (CFF) outlines, which a CIDFontType2 cannot carry. Not thread-safe: one
// font object serves one document at a time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/fonts/GlyphCache.h"

struct hb_face_t;
struct hb_font_t;

namespace mlt {

// The font-wide numbers of a FontDescriptor, in thousandths of an em.
// A code of a document's font: unused, or the glyph it shows and the characters that
// glyph stands for.
struct TUsedGlyph {
    bool Used = false;
    std::uint32_t Glyph = 0;
    std::u32string Text;
};

struct TFontMetrics {
    int Ascent = 0;
    int Descent = 0;
    int CapHeight = 0;
    int BBox[4] = {0, 0, 0, 0};
    double ItalicAngle = 0;
    bool FixedPitch = false;
};

class TTrueTypeFont {
public:
    explicit TTrueTypeFont(const std::string& path, unsigned faceIndex = 0);
    ~TTrueTypeFont();
    TTrueTypeFont(const TTrueTypeFont&) = delete;
    TTrueTypeFont& operator=(const TTrueTypeFont&) = delete;

    const std::string& Path() const { return path_; }
    // The PostScript name, reduced to the characters a PDF name may hold unescaped.
    const std::string& PostScriptName() const { return postScriptName_; }
    const TFontMetrics& Metrics() const { return metrics_; }
    unsigned UnitsPerEm() const { return unitsPerEm_; }
    hb_font_t* HbFont() const { return font_; }
    hb_face_t* HbFace() const { return face_; }

    // The glyph of `cp` (0 when the font has none) and its advance, from the cache.
    const TCachedGlyph& Glyph(char32_t cp) {
        TCachedGlyph& entry = cache_.At(cp <= TGlyphCache::MaxCodePoint ? cp : 0xFFFD);
        if (entry.Glyph == TCachedGlyph::Unknown) [[unlikely]]
            Fill(entry, cp);
        return entry;
    }
    bool Has(char32_t cp) { return Glyph(cp).Glyph != 0; }
    // The advance of a glyph, as the font's widths array states it (thousandths of an em).
    float GlyphWidth(std::uint32_t glyph) const;
    // Thousandths of an em per font unit.
    double Scale() const { return scale_; }

    // Records that a page draws `glyph` for the characters [begin, end) of `text`, and
    // returns the code number that shows it: the character's own when the glyph stands
    // for one character below U+00C0 whose code is free (so plain text has the bytes of
    // its ASCII, which compress as well as a standard font's), else the lowest free one.
    // The first text recorded for a glyph is the one copying and searching give back.
    // Throws Exception when a document draws more glyphs of the font than there are codes.
    std::uint32_t Use(std::uint32_t glyph, std::u32string_view text, std::uint32_t begin, std::uint32_t end) {
        if (glyph < codes_.size() && codes_[glyph]) [[likely]]
            return codes_[glyph] - 1;
        return Record(glyph, text.substr(begin, end - begin));
    }
    // The codes given so far, by code number, each with its glyph and text (the missing
    // glyph, which always has code 0, has none).
    const std::vector<TUsedGlyph>& UsedGlyphs() const { return usedGlyphs_; }
    // Forgets the glyphs drawn, for the next document.
    void ClearUse();

private:
    void Fill(TCachedGlyph& entry, char32_t cp);
    std::uint32_t Record(std::uint32_t glyph, std::u32string_view text);

    std::string path_;
    std::string postScriptName_;
    hb_face_t* face_ = nullptr;
    hb_font_t* font_ = nullptr;
    unsigned unitsPerEm_ = 1000;
    double scale_ = 1;
    TFontMetrics metrics_;
    TGlyphCache cache_;
    std::vector<std::uint32_t> codes_;  // per glyph: its code number + 1, or 0 while unused
    std::vector<TUsedGlyph> usedGlyphs_;
    std::uint32_t nextFree_ = 1;  // no code below it is free
};

}  // namespace mlt
