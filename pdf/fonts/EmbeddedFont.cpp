#include "pdf/fonts/EmbeddedFont.h"

#include "pdf/fonts/GlyphTextWriter.h"
#include "rtl/Exception.h"

namespace mlt {

namespace {

std::vector<TTrueTypeFont*> Pointers(const std::vector<std::unique_ptr<TTrueTypeFont>>& fonts) {
    std::vector<TTrueTypeFont*> out;
    for (const auto& font : fonts) out.push_back(font.get());
    return out;
}

}  // namespace

TEmbeddedFont::TEmbeddedFont(std::vector<std::unique_ptr<TTrueTypeFont>> fonts)
    : fonts_(std::move(fonts)), chain_(Pointers(fonts_)), shaper_(chain_) {}

// The longest start that fits, found by halving over character boundaries: shaping can
// join or reorder characters, so widths are measured of whole starts, not summed.
std::size_t TEmbeddedFont::Fit(std::string_view text, double size, double width) const {
    const double limit = width * 1000 / size;
    if (shaper_.Measure(text) <= limit) return text.size();
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
    AppendGlyphRun(out, chain_, shaper_.Shape(text), names_, size);
}

void TEmbeddedFont::SetRunFonts(const std::string& name, const std::vector<TFallbackFont>& fallbacks) {
    names_.assign(1, name);
    objects_.resize(1);
    for (const TFallbackFont& font : fallbacks) {
        names_.push_back(font.Name);
        objects_.push_back(font.Object);
    }
}

void TEmbeddedFont::WriteObjects(TObjectWriter& writer, std::int64_t fontObject) {
    sizes_.clear();
    objects_[0] = fontObject;
    for (std::size_t i = 0; i < objects_.size() && i < chain_.Fonts.size(); ++i)
        sizes_.push_back(WriteType0Font(*chain_.Fonts[i], objects_[i], writer));
}

}  // namespace mlt
