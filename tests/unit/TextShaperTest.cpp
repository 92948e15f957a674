#include "pdf/fonts/TextShaper.h"

#include <gtest/gtest.h>

#include <string>

#include "pdf/fonts/AsciiRun.h"

namespace mlt {
namespace {

// DejaVu Sans with WenQuanYi Micro Hei behind it, as the command's default chain.
TEST(TextShaper, PlacesGlyphsOfEveryScriptFromTheChain) {
    TTrueTypeFont main("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    TTrueTypeFont cjk("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc");
    TFontChain chain({&main, &cjk});
    TTextShaper shaper(chain);

    struct TCase {
        const char* Text;
        std::size_t Glyphs;
        int Missing;
        const char* SameWidthAs;        // a text that must measure the same, or null
        std::uint32_t FirstDrawn;       // TextBegin of the leftmost glyph
        std::uint32_t FontOfLast;       // font of the rightmost glyph
        bool ActualText;
    };
    const TCase cases[] = {
        {"Kovač", 5, 0, nullptr, 0, 0, false},
        {"q\u0301", 2, 0, "q", 0, 0, true},                     // a combining mark adds no width
        {"Łódź", 4, 0, nullptr, 0, 0, false},
        {"王伟", 2, 0, nullptr, 0, 1, false},                   // the fallback font draws CJK
        {"Иван 王", 6, 0, nullptr, 0, 1, false},
        {"\u05E9\u05DC\u05D5\u05DD", 4, 0, nullptr, 3, 0, false},  // Hebrew, right to left
        {"\u0633\u0644\u0627\u0645", 3, 0, nullptr, 3, 0, false},  // Arabic: lam-alef joins
        {"a\u200Db", 2, 0, nullptr, 0, 0, true},                // the joiner draws nothing
        {"x\U0001F9A9", 2, 1, nullptr, 0, 0, true},             // no font has a flamingo
        {"", 0, 0, nullptr, 0, 0, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        const TShapedText& shaped = shaper.Shape(c.Text);
        ASSERT_EQ(shaped.Glyphs.size(), c.Glyphs);
        EXPECT_EQ(shaped.Missing, c.Missing);
        EXPECT_EQ(shaped.NeedsActualText, c.ActualText);
        for (const TPlacedGlyph& g : shaped.Glyphs) EXPECT_EQ(g.Glyph == 0, c.Missing > 0 && g.TextBegin == 1);
        if (c.Glyphs == 0) continue;
        EXPECT_EQ(shaped.Glyphs.front().TextBegin, c.FirstDrawn);
        EXPECT_EQ(shaped.Glyphs.back().Font, c.FontOfLast);
        float width = shaped.Width;
        EXPECT_GT(width, 0);
        if (c.SameWidthAs) {
            EXPECT_FLOAT_EQ(width, shaper.Measure(c.SameWidthAs));
        }
    }
}

// The plain-ASCII fast path takes exactly the texts of printable ASCII, whatever the
// length and wherever a byte outside it stands (it checks eight bytes at a time).
TEST(TextShaper, AsciiFastPathTakesExactlyPrintableAscii) {
    TTrueTypeFont main("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    TAsciiRun ascii(main);
    for (std::size_t length = 0; length <= 19; ++length) {
        std::string text(length, 'a');
        for (std::size_t i = 0; i < length; ++i) text[i] = static_cast<char>(i % 2 ? 0x20 : 0x7E);
        EXPECT_TRUE(ascii.Covers(text)) << length;
        for (std::size_t at = 0; at < length; ++at)
            for (unsigned char outside : {0x00, 0x1F, 0x7F, 0x80, 0xC5, 0xFF}) {
                std::string bad = text;
                bad[at] = static_cast<char>(outside);
                EXPECT_FALSE(ascii.Covers(bad)) << length << " " << at << " " << int(outside);
            }
    }
}

}  // namespace
}  // namespace mlt
