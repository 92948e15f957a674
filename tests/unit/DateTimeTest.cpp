#include "rtl/DateTime.h"

#include <gtest/gtest.h>

using namespace mlt;

TEST(DateTime, EncodesAndDecodesOleDates) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
    EXPECT_EQ(EncodeDate(2000, 2, 29), 36585);
    TDateParts p = DecodeDateTime(36585.75);
    EXPECT_EQ(p.Year, 2000);
    EXPECT_EQ(p.Month, 2);
    EXPECT_EQ(p.Day, 29);
    EXPECT_EQ(p.Hour, 18);
    EXPECT_EQ(p.DayOfWeek, 2);  // a Tuesday
    // Before 1899 the time of day still counts forward from midnight.
    TDateParts early = DecodeDateTime(-1.25);
    EXPECT_EQ(early.Day, 29);
    EXPECT_EQ(early.Hour, 6);
}

TEST(DateTime, ValuesOutsideTheYears1To9999AreWrittenAsNumbers) {
    TFormatSettings s;
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {2958465.5, "12/31/9999 12:00:00 PM"}, {-693593.0, "1/1/0001"},  {2958466.0, "2958466"},
        {-693593.5, "-693593.5"},              {1e300, "1E300"},         {-1e300, "-1E300"},
        {9.2233720368547758e18, "9.22337203685478E18"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DateTimeToStr(c.value, s), c.text);
        if (!IsDateTime(c.value)) {
            EXPECT_EQ(FormatDateTime("yyyy-mm-dd", c.value, s), c.text);
        }
    }
    EXPECT_EQ(DecodeDateTime(1e300).Year, 9999);
    EXPECT_EQ(DecodeDateTime(-1e300).Year, 1);
}

TEST(DateTime, DefaultPatternsAreUsEnglishWithSeparatorsInForce) {
    TFormatSettings s;
    TDateTime value = EncodeDate(2024, 3, 7) + EncodeTime(15, 4, 9);
    EXPECT_EQ(DateToStr(value, s), "3/7/2024");
    EXPECT_EQ(TimeToStr(value, s), "3:04:09 PM");
    EXPECT_EQ(DateTimeToStr(value, s), "3/7/2024 3:04:09 PM");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 3, 7), s), "3/7/2024");  // midnight: no time
    s.DateSeparator = '.';
    s.TimeSeparator = '-';
    EXPECT_EQ(DateTimeToStr(value, s), "3.7.2024 3-04-09 PM");
    EXPECT_EQ(TimeToStr(EncodeTime(0, 5, 0), s), "12-05-00 AM");
}

TEST(DateTime, FormatsPatternLetters) {
    TFormatSettings s;
    TDateTime value = EncodeDate(2009, 1, 5) + EncodeTime(7, 8, 9, 45);
    EXPECT_EQ(FormatDateTime("yyyymmddhhnnss", value, s), "20090105070809");
    EXPECT_EQ(FormatDateTime("dd/mm/yy hh:mm", value, s), "05/01/09 07:08");  // mm after hh is minutes
    EXPECT_EQ(FormatDateTime("dddd d mmmm 'at' h:nn am/pm", value, s), "Monday 5 January at 7:08 am");
    EXPECT_EQ(FormatDateTime("s.zzz", value, s), "9.045");
}
