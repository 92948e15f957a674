#include "rtl/TextUtils.h"

#include <gtest/gtest.h>

using namespace mlt;

TEST(TryStrToInt, ReadsDecimalHexAndSigns) {
    EXPECT_EQ(TryStrToInt("42"), 42);
    EXPECT_EQ(TryStrToInt("   -7"), -7);
    EXPECT_EQ(TryStrToInt("+5"), 5);
    EXPECT_EQ(TryStrToInt("$1F"), 31);
    EXPECT_EQ(TryStrToInt("x1f"), 31);
    EXPECT_EQ(TryStrToInt("0X10"), 16);
    EXPECT_EQ(TryStrToInt("-$10"), -16);
    EXPECT_EQ(TryStrToInt("$FFFFFFFF"), -1);  // a 32-bit pattern
    EXPECT_EQ(TryStrToInt("2147483647"), 2147483647);
    EXPECT_EQ(TryStrToInt("-2147483648"), INT32_MIN);
}

TEST(TryStrToInt, RefusesAnythingButAWholeNumber) {
    for (const char* text : {"", " ", "12 ", "12 abc", "1.5", "$", "0x", "-", "2147483648", "-2147483649",
                             "$100000000", "1e3", "٣"})
        EXPECT_FALSE(TryStrToInt(text).has_value()) << '"' << text << '"';
}

TEST(SameText, IgnoresAsciiCaseOnly) {
    EXPECT_TRUE(SameText("FieldsCaption", "FIELDSCAPTION"));
    EXPECT_FALSE(SameText("\xE9", "\xC9"));  // é and É stay different: no locale
    EXPECT_EQ(HashText("Amount"), HashText("aMOUNT"));
}

TEST(FormatMessage, FillsEveryPercentS) {
    EXPECT_EQ(FormatMessage("Property %s is not specified.", "Dataset"), "Property Dataset is not specified.");
    EXPECT_EQ(FormatMessage("100% sure, %s", "x"), "100% sure, x");
}
