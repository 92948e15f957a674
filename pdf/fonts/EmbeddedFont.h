// TEmbeddedFont: a chain of TrueType fonts as a report font; it owns the fonts, the first
// being the main font and the others its fallbacks. Runs are UTF-8; they are
// measured, cut and shown through the chain's shaper, and every font of the chain that a
// document used is embedded at its end as a subset (Type 0, ToUnicode).
//
// The chain's main font is this report font. Its fallback fonts are PDF fonts of their
// own, so the writer names them in the pages' resources as well: it gives every resource
// name of the chain to SetRunFonts before ShowText, and ShowText switches to a fallback
// font and back within a run where a character needs it; without them, ShowText throws
// Exception. Once a fallback has drawn (FallbackUsed), the writer gives it a font object
// (SetFallbackObject) and lists it in the resources of the pages from then on.
// WriteObjects writes the main font and the fallbacks that have a font object. Not
// thread-safe (one document, one thread), as TReportFont says.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "pdf/fonts/AsciiRun.h"
#include "pdf/fonts/FontChain.h"
#include "pdf/fonts/ReportFont.h"
#include "pdf/fonts/TextShaper.h"
#include "pdf/fonts/Type0FontWriter.h"

namespace mlt {

class TEmbeddedFont : public TReportFont {
public:
    explicit TEmbeddedFont(std::vector<std::unique_ptr<TTrueTypeFont>> fonts);

    double Measure(std::string_view text, double size) const override;
    std::size_t Fit(std::string_view text, double size, double width) const override;
    std::string_view Ellipsis() const override { return "\u2026"; }
    double Ascent() const override { return fonts_.front()->Metrics().Ascent; }
    double Descent() const override { return fonts_.front()->Metrics().Descent; }
    void ShowText(std::string& out, std::string_view text, double size) override;
    void WriteObjects(TObjectWriter& writer, std::int64_t fontObject) override;

    // The resource names (without "/") of this font and of each fallback font of the
    // chain, in chain order.
    void SetRunFonts(const std::string& name, const std::vector<std::string>& fallbacks);
    // How many fallback fonts the chain has; fallback i is chain font i, from 1.
    std::size_t FallbackCount() const { return chain_.Fonts.size() - 1; }
    // Whether fallback i has drawn a glyph in this document (every font has the missing
    // glyph's code from the start).
    bool FallbackUsed(std::size_t i) const { return fonts_[i]->UsedGlyphs().size() > 1; }
    void SetFallbackObject(std::size_t i, std::int64_t object) { objects_.at(i) = object; }

    // What embedding cost, per font of the chain that the document used.
    const std::vector<TEmbeddedFontSize>& EmbeddedSizes() const { return sizes_; }

private:
    std::vector<std::unique_ptr<TTrueTypeFont>> fonts_;
    TFontChain chain_;
    mutable TTextShaper shaper_;
    mutable TAsciiRun ascii_;  // plain ASCII in the main font, past the shaper
    std::vector<std::string> names_;
    std::vector<std::int64_t> objects_ = {0};
    std::vector<TEmbeddedFontSize> sizes_;
};

}  // namespace mlt
