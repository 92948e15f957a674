#include "rtl/NumberFormat.h"

#include <gtest/gtest.h>

using namespace mlt;

TEST(FloatToStr, GeneralFormatWithFifteenDigits) {
    TFormatSettings s;
    EXPECT_EQ(FloatToStr(0, s), "0");
    EXPECT_EQ(FloatToStr(1.5, s), "1.5");
    EXPECT_EQ(FloatToStr(-1234.25, s), "-1234.25");
    EXPECT_EQ(FloatToStr(0.1 + 0.2, s), "0.3");  // 15 digits hide the binary noise
    EXPECT_EQ(FloatToStr(100, s), "100");
    EXPECT_EQ(FloatToStr(123456789012345.0, s), "123456789012345");
    EXPECT_EQ(FloatToStr(0.00001, s), "0.00001");
}

TEST(FloatToStr, SwitchesToExponentBeyondFifteenDigitsOrBelowOneHundredThousandth) {
    TFormatSettings s;
    EXPECT_EQ(FloatToStr(1e15, s), "1E15");
    EXPECT_EQ(FloatToStr(1.5e20, s), "1.5E20");
    EXPECT_EQ(FloatToStr(0.000001, s), "1E-6");
    EXPECT_EQ(FloatToStr(-2.5e-7, s), "-2.5E-7");
}

TEST(FloatToStr, UsesTheSettingsDecimalSeparator) {
    TFormatSettings s;
    s.DecimalSeparator = ',';
    EXPECT_EQ(FloatToStr(3.25, s), "3,25");
    EXPECT_EQ(FloatToStr(2.5e-9, s), "2,5E-9");
}

TEST(CurrToStr, AtMostFourDecimalsNoTrailingZeros) {
    TFormatSettings s;
    EXPECT_EQ(CurrToStr(125000, s), "12.5");
    EXPECT_EQ(CurrToStr(30000, s), "3");
    EXPECT_EQ(CurrToStr(-1, s), "-0.0001");
    EXPECT_EQ(CurrToStr(INT64_MIN, s), "-922337203685477.5808");
    s.DecimalSeparator = ',';
    EXPECT_EQ(CurrToStr(12345, s), "1,2345");
}
