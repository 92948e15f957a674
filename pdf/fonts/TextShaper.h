// TTextShaper: turns a UTF-8 cell text into glyphs of a font chain, placed left to right.
// Text of the simple scripts (Latin, Greek, Cyrillic, CJK and the like, without combining
// marks) takes each character's glyph and advance from the fonts' caches. Anything else
// is split into runs of one font, script and direction, ordered with fribidi and shaped
// with HarfBuzz, so Arabic joins, Hebrew and Arabic read right to left within the cell,
// and combining marks sit on their base without width of their own. The shaper reuses
// its buffers: after the first cells, shaping allocates nothing. One shaper per thread.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/fonts/FontChain.h"
#include "pdf/fonts/ShapedText.h"

struct hb_buffer_t;

namespace mlt {

class TTextShaper {
public:
    explicit TTextShaper(TFontChain& chain);
    ~TTextShaper();
    TTextShaper(const TTextShaper&) = delete;
    TTextShaper& operator=(const TTextShaper&) = delete;

    TFontChain& Chain() { return chain_; }
    // Shapes `text`; the result stays valid until the next call. A cell is measured, then
    // drawn: shaping the same text twice in a row returns the first result.
    const TShapedText& Shape(std::string_view text);
    // The width of `text` in thousandths of an em.
    float Measure(std::string_view text) { return Shape(text).Width; }

private:
    struct TRun {
        std::uint32_t Begin, End;  // code points
        int Level, Font;
        std::uint32_t Script;
        std::uint32_t GlyphBegin, GlyphEnd;
    };
    void Decode(std::string_view text);
    bool PlaceSimple();
    void PlaceComplex();
    void SplitRuns();
    void ShapeRun(TRun& run);
    void OrderRuns();

    // What PlaceSimple needs of an ASCII character, looked up the first time it is met.
    struct TAsciiGlyph {
        static constexpr int Unknown = -2, Missing = -1, Ignorable = -3;
        int Font = Unknown;  // in the chain, or one of the above
        std::uint32_t Glyph = 0;
        float Width = 0;
    };
    TAsciiGlyph LookUpAscii(char32_t c);

    TFontChain& chain_;
    hb_buffer_t* buffer_;
    std::array<TAsciiGlyph, 128> ascii_{};
    TShapedText shaped_;
    std::string shapedText_;  // the text that shaped_ holds, while shapedValid_
    bool shapedValid_ = false;
    std::vector<std::uint32_t> bidiTypes_, bracketTypes_;
    std::vector<signed char> levels_;
    std::vector<int> fontOf_;
    std::vector<TRun> runs_;
    std::vector<std::uint32_t> clusters_;
    std::vector<TPlacedGlyph> ordered_;
};

}  // namespace mlt
