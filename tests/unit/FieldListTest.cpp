#include "component/FieldList.h"

#include <gtest/gtest.h>

using namespace mlt;

TEST(FieldList, ItemsAreSplitAtEveryCommaWithoutTrimming) {
    EXPECT_EQ(FieldListItem("a,b,c", 0), "a");
    EXPECT_EQ(FieldListItem("a,b,c", 2), "c");
    EXPECT_EQ(FieldListItem("a,b,c", 3), "") << "past the last item";
    EXPECT_EQ(FieldListItem("a,,c", 1), "") << "two adjacent commas";
    EXPECT_EQ(FieldListItem("A, B", 1), " B") << "blanks stay";
    EXPECT_EQ(FieldListItem("a,", 1), "");
    EXPECT_EQ(FieldListItem("", 0), "");
}

TEST(FieldList, WidthsReadAsIntegersOrZero) {
    EXPECT_EQ(FieldListWidth("5,,7", 0), 5);
    EXPECT_EQ(FieldListWidth("5,,7", 1), 0);
    EXPECT_EQ(FieldListWidth("5,,7", 2), 7);
    EXPECT_EQ(FieldListWidth("5,,7", 3), 0);
    EXPECT_EQ(FieldListWidth("12 abc", 0), 0);
    EXPECT_EQ(FieldListWidth(" 12", 0), 12) << "leading blanks are skipped";
    EXPECT_EQ(FieldListWidth("12 ", 0), 0) << "a trailing blank is not";
    EXPECT_EQ(FieldListWidth("$1A,0x10,-3", 0), 26);
    EXPECT_EQ(FieldListWidth("$1A,0x10,-3", 1), 16);
    EXPECT_EQ(FieldListWidth("$1A,0x10,-3", 2), -3);
    EXPECT_EQ(FieldListWidth("99999999999", 0), 0) << "outside 32 bits";
}

TEST(FieldList, AlignmentsAreRCOrLeftInAnyCase) {
    EXPECT_EQ(FieldListAlignment("c,r", 0), taCenter);
    EXPECT_EQ(FieldListAlignment("c,r", 1), taRightJustify);
    EXPECT_EQ(FieldListAlignment("c,r", 2), taLeftJustify);
    for (const char* list : {"RIGHT", "L", " R", ""}) EXPECT_EQ(FieldListAlignment(list, 0), taLeftJustify) << list;
    EXPECT_EQ(FieldListAlignment("\xE9,R", 1), taRightJustify) << "upper-casing touches ASCII only";
}
