#include "pdf/fonts/TrueTypeFont.h"

#include <hb-ot.h>
#include <hb.h>

#include <cmath>

#include "pdf/fonts/GlyphCode.h"
#include "rtl/Exception.h"

namespace mlt {

namespace {

std::int16_t ReadInt16(const char* at) {
    return static_cast<std::int16_t>(static_cast<std::uint8_t>(at[0]) << 8 | static_cast<std::uint8_t>(at[1]));
}

bool HasTable(hb_face_t* face, hb_tag_t tag) {
    hb_blob_t* blob = hb_face_reference_table(face, tag);
    bool has = hb_blob_get_length(blob) > 0;
    hb_blob_destroy(blob);
    return has;
}

// Letters, digits and a few marks: what a PDF name holds without # escapes.
std::string PdfNameOf(std::string_view text) {
    std::string name;
    for (char c : text)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_')
            name += c;
    return name.empty() ? std::string("Font") : name;
}

}  // namespace

TTrueTypeFont::TTrueTypeFont(const std::string& path, unsigned faceIndex) : path_(path) {
    hb_blob_t* blob = hb_blob_create_from_file_or_fail(path.c_str());
    if (!blob) throw Exception("Cannot read the font file " + path);
    if (faceIndex >= hb_face_count(blob)) {
        hb_blob_destroy(blob);
        throw Exception(path + " is not a TrueType or OpenType font");
    }
    face_ = hb_face_create(blob, faceIndex);
    hb_blob_destroy(blob);
    if (hb_face_get_glyph_count(face_) == 0 || !HasTable(face_, HB_TAG('g', 'l', 'y', 'f'))) {
        bool cff = HasTable(face_, HB_TAG('C', 'F', 'F', ' '));
        hb_face_destroy(face_);
        throw Exception(path + (cff ? " has PostScript outlines; only TrueType outlines can be embedded"
                                    : " is not a TrueType or OpenType font"));
    }
    font_ = hb_font_create(face_);
    unitsPerEm_ = hb_face_get_upem(face_);
    scale_ = 1000.0 / unitsPerEm_;
    codes_.assign(hb_face_get_glyph_count(face_), 0);
    ClearUse();

    char name[128];
    unsigned length = sizeof name;
    hb_ot_name_get_utf8(face_, HB_OT_NAME_ID_POSTSCRIPT_NAME, HB_LANGUAGE_INVALID, &length, name);
    postScriptName_ = PdfNameOf(std::string_view(name, length));

    auto position = [&](hb_ot_metrics_tag_t tag) {
        hb_position_t value = 0;
        hb_ot_metrics_get_position_with_fallback(font_, tag, &value);
        return static_cast<int>(std::lround(value * scale_));
    };
    metrics_.Ascent = position(HB_OT_METRICS_TAG_HORIZONTAL_ASCENDER);
    metrics_.Descent = position(HB_OT_METRICS_TAG_HORIZONTAL_DESCENDER);
    metrics_.CapHeight = position(HB_OT_METRICS_TAG_CAP_HEIGHT);
    // Read from the tables themselves: HarfBuzz's own answer for the angle indexes every
    // glyph name of the font first, which takes milliseconds for a CJK font.
    // The angle: a 16.16 fixed-point number at offset 4 of the 'post' table.
    hb_blob_t* post = hb_face_reference_table(face_, HB_TAG('p', 'o', 's', 't'));
    unsigned postLength = 0;
    const char* postBytes = hb_blob_get_data(post, &postLength);
    if (postLength >= 8)
        metrics_.ItalicAngle = (ReadInt16(postBytes + 4) * 65536.0 + static_cast<std::uint16_t>(ReadInt16(postBytes + 6))) / 65536.0;
    hb_blob_destroy(post);
    // The font's box: xMin, yMin, xMax, yMax at offset 36 of the 54-byte 'head' table.
    hb_blob_t* head = hb_face_reference_table(face_, HB_TAG('h', 'e', 'a', 'd'));
    unsigned headLength = 0;
    const char* bytes = hb_blob_get_data(head, &headLength);
    if (headLength >= 44)
        for (int i = 0; i < 4; ++i) metrics_.BBox[i] = static_cast<int>(std::lround(ReadInt16(bytes + 36 + 2 * i) * scale_));
    hb_blob_destroy(head);
}

TTrueTypeFont::~TTrueTypeFont() {
    hb_font_destroy(font_);
    hb_face_destroy(face_);
}

float TTrueTypeFont::GlyphWidth(std::uint32_t glyph) const {
    return static_cast<float>(hb_font_get_glyph_h_advance(font_, glyph) * scale_);
}

void TTrueTypeFont::Fill(TCachedGlyph& entry, char32_t cp) {
    hb_codepoint_t glyph = 0;
    if (!hb_font_get_nominal_glyph(font_, cp, &glyph)) glyph = 0;
    entry.Width = GlyphWidth(glyph);
    entry.Glyph = glyph;
}

std::uint32_t TTrueTypeFont::Record(std::uint32_t glyph, std::u32string_view text) {
    if (glyph >= codes_.size()) return 0;  // no such glyph: the missing glyph
    auto isFree = [this](std::uint32_t code) { return code >= usedGlyphs_.size() || !usedGlyphs_[code].Used; };
    std::uint32_t code = text.size() == 1 && text[0] < kOneByteGlyphCodes ? text[0] : 0;
    if (code == 0 || !isFree(code)) {
        while (!isFree(nextFree_)) ++nextFree_;
        code = nextFree_;
    }
    if (code >= kGlyphCodeCount)
        throw Exception("A document can show at most " + std::to_string(kGlyphCodeCount) + " different glyphs of " +
                        path_ + "; split the report into several files (--rows-per-file)");
    if (code >= usedGlyphs_.size()) usedGlyphs_.resize(code + 1);
    usedGlyphs_[code] = {true, glyph, std::u32string(text)};
    codes_[glyph] = code + 1;
    return code;
}

// The missing glyph has code 0 in every document, with no text.
void TTrueTypeFont::ClearUse() {
    codes_.assign(codes_.size(), 0);
    usedGlyphs_.assign(1, TUsedGlyph{true, 0, {}});
    nextFree_ = 1;
    if (!codes_.empty()) codes_[0] = 1;
}

}  // namespace mlt
