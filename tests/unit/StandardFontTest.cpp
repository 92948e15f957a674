#include "pdf/fonts/StandardFont.h"

#include <gtest/gtest.h>

using namespace mlt;

// Helvetica's published widths: H 722, e 556, l 222, o 556, so "Hello" is 2278/1000 em;
// "é" (0xE9) is 556 and the ellipsis (0x85) 1000. Times-Roman's "H" is 722, Courier 600.
TEST(StandardFont, MeasuresAndFitsWithThePublishedWidths) {
    TStandardFont helvetica("Helvetica");
    EXPECT_DOUBLE_EQ(helvetica.Measure("Hello", 10), 22.78);
    EXPECT_DOUBLE_EQ(helvetica.Measure("\xE9\x85", 1), 1.556);
    EXPECT_DOUBLE_EQ(TStandardFont("Courier-Bold").Measure("Hi", 10), 12);
    EXPECT_DOUBLE_EQ(TStandardFont("Times-Roman").Measure("H", 1), 0.722);
    // At 10 points: "He" is 12.78 wide, "Hel" 15.00, "Hell" 17.22.
    EXPECT_EQ(helvetica.Fit("Hello", 10, 15.0), 3u);
    EXPECT_EQ(helvetica.Fit("Hello", 10, 14.99), 2u);
    EXPECT_EQ(helvetica.Fit("Hello", 10, 100), 5u);
    EXPECT_EQ(helvetica.Fit("Hello", 10, 0), 0u);
}

TEST(StandardFont, ShowsEscapedTextAndWritesItsDictionary) {
    struct TRecorder : TObjectWriter {
        std::int64_t NewObject() override { return 99; }
        void WriteObject(std::int64_t number, std::string_view body) override {
            written = std::to_string(number) + ": " + std::string(body);
        }
        void WriteStream(std::int64_t, std::string_view, std::string_view) override {}
        std::string written;
    } recorder;
    TStandardFont font("Times-Bold");
    std::string out;
    font.ShowText(out, "a(b)\\c", 10);
    EXPECT_EQ(out, "(a\\(b\\)\\\\c) Tj");
    font.WriteObjects(recorder, 7);
    EXPECT_EQ(recorder.written, "7: << /Type /Font /Subtype /Type1 /BaseFont /Times-Bold /Encoding /WinAnsiEncoding >>");
}
