#include "pdf/fonts/AsciiRun.h"

#include <cstring>

#include "pdf/fonts/GlyphCode.h"

namespace mlt {

bool TAsciiRun::Covers(std::string_view text) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= entries_.size()) return false;
        TEntry& entry = entries_[byte];
        if (entry.Kind == TEntry::Unknown) {
            // Controls and DEL draw nothing: the shaper leaves them out, so they are not plain.
            const TCachedGlyph& glyph = font_.Glyph(byte);
            entry.Kind = byte >= 0x20 && byte != 0x7F && glyph.Glyph != 0 ? TEntry::Plain : TEntry::Other;
            entry.Glyph = glyph.Glyph;
            entry.Width = glyph.Width;
        }
        if (entry.Kind != TEntry::Plain) return false;
    }
    return true;
}

float TAsciiRun::Width(std::string_view text) const {
    float width = 0;
    for (char c : text) width += entries_[static_cast<unsigned char>(c)].Width;
    return width;
}

std::size_t TAsciiRun::Fit(std::string_view text, double limit) const {
    float width = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        width += entries_[static_cast<unsigned char>(text[i])].Width;
        if (width > limit) return i;
    }
    return text.size();
}

void TAsciiRun::Show(std::string& out, std::string_view text) {
    const std::size_t start = out.size();
    out.resize(start + 4 * text.size() + 4);  // "(", four bytes a character at most, ")Tj"
    char* at = out.data() + start;
    *at++ = '(';
    for (char c : text) {
        TEntry& entry = entries_[static_cast<unsigned char>(c)];
        if (entry.CodeBytes == 0) {
            const char32_t character = static_cast<unsigned char>(c);
            const std::uint32_t code = font_.Use(entry.Glyph, std::u32string_view(&character, 1), 0, 1);
            entry.CodeBytes = static_cast<std::uint8_t>(PutGlyphCode(entry.Code, code) - entry.Code);
        }
        std::memcpy(at, entry.Code, sizeof entry.Code);  // all four: the buffer has room
        at += entry.CodeBytes;
    }
    *at++ = ')';
    *at++ = 'T';
    *at++ = 'j';
    out.resize(static_cast<std::size_t>(at - out.data()));
}

}  // namespace mlt
