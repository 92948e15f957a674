#include "pdf/fonts/EmbeddedFont.h"

#include <optional>

#include "pdf/fonts/GlyphTextWriter.h"
#include "rtl/Exception.h"

namespace mlt {

namespace {

std::vector<TTrueTypeFont*> Pointers(const std::vector<std::unique_ptr<TTrueTypeFont>>& fonts) {
    std::vector<TTrueTypeFont*> out;
    for (const auto& font : fonts) out.push_back(font.get());
    return out;
}

// The bytes of `text` whose characters fit within `limit`, from the advances of its
// additive shaping; nothing when the bytes do not map one to one onto its characters
// (malformed UTF-8).
std::optional<std::size_t> FitAdditive(std::string_view text, const TShapedText& shaped, double limit) {
    std::size_t characters = 0;
    for (char c : text) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    if (characters != shaped.CodePoints.size()) return std::nullopt;
    float width = 0;
    std::uint32_t fitting = 0;
    for (const TPlacedGlyph& glyph : shaped.Glyphs) {
        width += glyph.Advance;
        if (width > limit) {
            fitting = glyph.TextBegin;
            break;
        }
    }
    std::size_t at = 0;
    for (std::uint32_t seen = 0; at < text.size(); ++at) {
        if ((static_cast<unsigned char>(text[at]) & 0xC0) != 0x80 && seen++ == fitting) break;
    }
    return at;
}

}  // namespace

TEmbeddedFont::TEmbeddedFont(std::vector<std::unique_ptr<TTrueTypeFont>> fonts)
    : fonts_(std::move(fonts)), chain_(Pointers(fonts_)), shaper_(chain_), ascii_(*fonts_.front()) {}

double TEmbeddedFont::Measure(std::string_view text, double size) const {
    const float width = ascii_.Covers(text) ? ascii_.Width(text) : shaper_.Measure(text);
    return width * size / 1000;
}

// The longest start that fits. Simple text sums its glyphs' advances up to the first
// that overflows. Otherwise shaping can join or reorder characters, so whole starts are
// measured, halving over character boundaries.
std::size_t TEmbeddedFont::Fit(std::string_view text, double size, double width) const {
    const double limit = width * 1000 / size;
    if (ascii_.Covers(text)) return ascii_.Fit(text, limit);
    const TShapedText& shaped = shaper_.Shape(text);
    if (shaped.Width <= limit) return text.size();
    if (shaped.Additive) {
        if (std::optional<std::size_t> end = FitAdditive(text, shaped, limit)) return *end;
    }
    std::size_t fits = 0, over = text.size();
    for (;;) {
        std::size_t middle = fits + (over - fits) / 2;
        while (middle > fits && (static_cast<unsigned char>(text[middle]) & 0xC0) == 0x80) --middle;
        if (middle == fits) return fits;
        if (shaper_.Measure(text.substr(0, middle)) <= limit) fits = middle;
        else over = middle;
    }
}

void TEmbeddedFont::ShowText(std::string& out, std::string_view text, double size) {
    if (names_.size() < chain_.Fonts.size()) throw Exception("The fonts of an embedded font have no resource names");
    if (ascii_.Covers(text)) return ascii_.Show(out, text);
    AppendGlyphRun(out, chain_, shaper_.Shape(text), names_, size);
}

void TEmbeddedFont::SetRunFonts(const std::string& name, const std::vector<std::string>& fallbacks) {
    names_.assign(1, name);
    names_.insert(names_.end(), fallbacks.begin(), fallbacks.end());
    objects_.assign(names_.size(), 0);
}

void TEmbeddedFont::WriteObjects(TObjectWriter& writer, std::int64_t fontObject) {
    sizes_.clear();
    objects_[0] = fontObject;
    for (std::size_t i = 0; i < objects_.size() && i < chain_.Fonts.size(); ++i)
        if (objects_[i]) sizes_.push_back(WriteType0Font(*chain_.Fonts[i], objects_[i], writer));
}

}  // namespace mlt
