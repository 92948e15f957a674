#include "pdf/fonts/AsciiRun.h"

#include <cstring>

#include "pdf/fonts/GlyphCode.h"

namespace mlt {

TAsciiRun::TAsciiRun(TTrueTypeFont& font) : font_(font) {
    // Controls and DEL draw nothing: the shaper leaves them out, so they are not plain.
    for (unsigned byte = 0x20; byte < 0x7F; ++byte) {
        TEntry& entry = entries_[byte];
        const TCachedGlyph& glyph = font_.Glyph(byte);
        entry.Plain = glyph.Glyph != 0;
        entry.Glyph = glyph.Glyph;
        entry.Width = glyph.Width;
        allPrintable_ = allPrintable_ && entry.Plain;
    }
}

bool TAsciiRun::Covers(std::string_view text) const {
    if (allPrintable_) {
        // Eight characters at a time: a byte below 0x20 borrows into its top bit when
        // 0x20 is taken away, one of 0x7F and above carries into it, or has it already.
        // A borrow or carry into a neighbour comes only from such a byte.
        constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
        std::size_t i = 0;
        for (; i + 8 <= text.size(); i += 8) {
            std::uint64_t chunk;
            std::memcpy(&chunk, text.data() + i, sizeof chunk);
            if (((chunk - 0x20 * kOnes) | (chunk + kOnes) | chunk) & 0x80 * kOnes) return false;
        }
        for (; i < text.size(); ++i)
            if (static_cast<unsigned char>(text[i]) - 0x20U > 0x7EU - 0x20U) return false;
        return true;
    }
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= entries_.size() || !entries_[byte].Plain) return false;
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
