// The PDF writer's line building: number formatting, literal strings and the page
// buffer's inline copy.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>

#include "pdf/ContentBuffer.h"
#include "pdf/PDFLine.h"

using namespace mlt;

TEST(PDFLine, FormatsNumbersOfEveryLength) {
    const std::int64_t numbers[] = {0,     7,      42,         999,       1000,     9999,
                                    10000, 100001, 123456789, -1,        -10000,   std::numeric_limits<std::int64_t>::max(),
                                    std::numeric_limits<std::int64_t>::min()};
    TPDFLine line;
    for (std::int64_t n : numbers) {
        EXPECT_EQ(line.Start().Add(n).View(), std::to_string(n));
        char text[48];
        using pdfline::Put;
        const char* end = Put(Put(Put(Put(Put(text, "<"), n), " "), n), ">");
        const std::string digits = std::to_string(n);
        EXPECT_EQ(std::string_view(text, static_cast<std::size_t>(end - text)),
                  std::string("<").append(digits).append(" ").append(digits).append(">"));
    }
}

TEST(PDFLine, GrowsForLongLinesAndEscapesLiterals) {
    const std::string text(1000, 'x');
    TPDFLine line;
    line.Start().Add("(").AddLiteral(text + "\\()").Add(")");
    EXPECT_EQ(line.View(), "(" + text + "\\\\\\(\\))");
    EXPECT_EQ(line.Start().Add(5).View(), "5");
}

// Whichever way a text is copied, with or without escapes, each special byte gets its
// backslash wherever in the text it stands; look-alike bytes (0x28 | 0x80, 0x5D) get none.
TEST(PDFLine, EscapesEverySpecialByteAtEveryPlace) {
    const char specials[] = {'(', ')', '\\', '\x28' | '\x80', ']', '\x29' + 2, 'x'};
    for (std::size_t length = 0; length <= 19; ++length) {
        for (std::size_t at = 0; at < std::max<std::size_t>(length, 1); ++at) {
            for (char special : specials) {
                std::string text(length, 'a');
                if (length > 0) text[at] = special;
                std::string expected;
                for (char c : text) {
                    if (c == '(' || c == ')' || c == '\\') expected += '\\';
                    expected += c;
                }
                std::string out(2 * text.size(), '?');
                out.resize(static_cast<std::size_t>(pdfline::PutLiteral(out.data(), text) - out.data()));
                ASSERT_EQ(out, expected) << "length " << length << ", byte " << int(special) << " at " << at;
            }
        }
    }
}

TEST(PDFContentBuffer, AppendsLinesOfEveryLengthWithLineEnds) {
    TContentBuffer buffer;
    std::string expected;
    const std::string source = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJ";
    for (std::size_t length = 0; length <= source.size(); ++length) {
        buffer.AppendLine(std::string_view(source).substr(0, length));
        expected += source.substr(0, length) + "\r\n";
    }
    for (int i = 0; i < 3000; ++i) buffer.AppendLine(source);  // beyond the first block
    for (int i = 0; i < 3000; ++i) expected += source + "\r\n";
    EXPECT_EQ(buffer.Memory(), expected);
    EXPECT_EQ(buffer.Size(), static_cast<std::int64_t>(expected.size()));
    buffer.Clear();
    EXPECT_EQ(buffer.Size(), 0);
}
