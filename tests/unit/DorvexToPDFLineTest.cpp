// The PDF writer's line building: number formatting, literal strings and the page
// buffer's inline copy.
#include <gtest/gtest.h>

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
        std::array<char, 48> text;
        EXPECT_EQ(FormatLine(text, "<", n, " ", n, ">"), "<" + std::to_string(n) + " " + std::to_string(n) + ">");
    }
}

TEST(PDFLine, GrowsForLongLinesAndEscapesLiterals) {
    const std::string text(1000, 'x');
    TPDFLine line;
    line.Start().Add("(").AddLiteral(text + "\\()").Add(")");
    EXPECT_EQ(line.View(), "(" + text + "\\\\\\(\\))");
    EXPECT_EQ(line.Start().Add(5).View(), "5");
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
