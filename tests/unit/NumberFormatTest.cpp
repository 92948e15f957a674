#include "rtl/NumberFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

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
    EXPECT_EQ(FloatToStr(5e-324, s), "4.94065645841247E-324");  // subnormal: no shortcut
}

// Whatever path the conversion takes, its digits are those of printf's 15-digit rounding.
TEST(FloatToStr, GivesTheValueOfPrintfsFifteenDigitRounding) {
    TFormatSettings s;
    std::mt19937_64 random(20261208);
    std::vector<double> values = {0.1, 2.675, 1e-5, 9.999999999999995e14, 999999999999999.4, 5e-324,
                                  2.2250738585072014e-308, 1.7976931348623157e308, 0.30000000000000004};
    for (int i = 0; i < 30000; ++i) {
        std::uint64_t bits = random();
        double any;
        std::memcpy(&any, &bits, sizeof any);
        if (std::isfinite(any)) values.push_back(any);
        values.push_back(static_cast<double>(static_cast<std::int64_t>(bits % 2000000000) - 1000000000) / 100);
        values.push_back(std::ldexp(static_cast<double>(bits >> 11), -static_cast<int>(bits % 90)));
    }
    for (double value : values) {
        char expected[40];
        std::snprintf(expected, sizeof expected, "%.15G", value);
        const std::string text = FloatToStr(value, s);
        ASSERT_EQ(std::strtod(text.c_str(), nullptr), std::strtod(expected, nullptr)) << text << " for " << expected;
        const std::string mantissa = text.substr(0, text.find('E'));
        if (mantissa.find('.') != std::string::npos) {
            ASSERT_NE(mantissa.back(), '0') << text;
        }
    }
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
