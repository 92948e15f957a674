#include <gtest/gtest.h>

#include "export/DorvexStyle.h"
#include "export/DvxDataFormats.h"
#include "export/DvxMessages.h"
#include "export/DvxSendTo.h"
#include "rtl/Exception.h"

using namespace mlt;

namespace {

constexpr TColor kSysWindow = static_cast<TColor>(0xFF000005);   // system colour 5, window background
constexpr TColor kSys3DLight = static_cast<TColor>(0xFF000016);  // system colour 22, light 3-D face

struct StyleColours {
    TDvxStyle Style;
    TColor Odd;
    TColor Even;
};

}  // namespace

TEST(DvxSettingsStyle, EveryStyleLoadsItsTwoColours) {
    const StyleColours table[] = {
        {esNormal, kSysWindow, kSysWindow},   {esPriceList, kSys3DLight, kSysWindow},
        {esMSMoney, 0x00FFFBF0, kSysWindow},  {esBrick, 0x00CFDFDF, 0x00A0BFBF},
        {esDesert, 0x00B8CCD8, 0x00688CA0},   {esEggplant, 0x00A8B090, 0x00788058},
        {esLilac, 0x00D8A8B0, 0x00B05058},    {esMaple, 0x00A8D8EB, 0x0048A8C8},
        {esMarine, 0x00B8C088, 0x00889048},   {esRose, 0x00B8B0D0, 0x007060A0},
        {esSpruce, 0x00A8C8A0, 0x00689858},   {esWheat, 0x00A0E0E0, 0x0040BCC0},
    };
    for (const StyleColours& row : table) {
        TDorvexStyle style;
        style.SetStyle(row.Style == esWheat ? esBrick : esWheat);  // start from another style
        style.SetStyle(row.Style);
        EXPECT_EQ(style.Style(), row.Style);
        EXPECT_EQ(style.OddColor, row.Odd) << StyleName(row.Style);
        EXPECT_EQ(style.EvenColor, row.Even) << StyleName(row.Style);
    }
}

TEST(DvxSettingsStyle, ChoosingTheCurrentStyleKeepsHandSetColours) {
    TDorvexStyle fresh;
    fresh.SetStyle(esNormal);  // already the style: the colours stay black
    EXPECT_EQ(fresh.OddColor, clBlack);
    EXPECT_EQ(fresh.EvenColor, clBlack);

    TDorvexStyle style;
    style.SetStyle(esWheat);
    style.OddColor = 0x00123456;
    style.SetStyle(esWheat);
    EXPECT_EQ(style.OddColor, 0x00123456);
    EXPECT_EQ(style.EvenColor, 0x0040BCC0);
}

TEST(DvxSettingsStyle, AssignMakesAnEqualStyleWhateverTheTargetHeld) {
    TDorvexStyle source;
    source.SetStyle(esBrick);
    source.OddColor = 0x00010203;
    source.EvenColor = 0x00040506;

    TDorvexStyle sameStyle, otherStyle;
    sameStyle.SetStyle(esBrick);
    otherStyle.SetStyle(esLilac);
    for (TDorvexStyle* target : {&sameStyle, &otherStyle}) {
        target->Assign(source);
        EXPECT_EQ(target->Style(), esBrick);
        EXPECT_EQ(target->OddColor, 0x00010203);
        EXPECT_EQ(target->EvenColor, 0x00040506);
    }

    // A fresh source is esNormal in black: the table's colours must not win over the copy.
    otherStyle.Assign(TDorvexStyle());
    EXPECT_EQ(otherStyle.Style(), esNormal);
    EXPECT_EQ(otherStyle.OddColor, clBlack);
    EXPECT_EQ(otherStyle.EvenColor, clBlack);
}

TEST(DvxSettingsDataFormats, YearAndLeadingZerosComeFromTheShortDatePattern) {
    struct Case {
        const char* Pattern;
        bool FourDigitYear;
        bool LeadingZeros;
    };
    const Case cases[] = {
        {"M/d/yy", false, false},
        {"M/d/yyyy", true, false},
        {"dd.MM.yy", false, true},
        {"YYYY-MM-DD", false, false},  // the tests are case-sensitive
    };
    for (const Case& c : cases) {
        TFormatSettings process;
        process.ShortDateFormat = c.Pattern;
        TDvxDataFormats formats(process);
        EXPECT_EQ(formats.FourDigitYear, c.FourDigitYear) << c.Pattern;
        EXPECT_EQ(formats.LeadingZerosInDate, c.LeadingZeros) << c.Pattern;
    }
}

TEST(DvxSettingsRecords, AssignCopiesEverySettingOfTheSameClass) {
    TDvxDataFormats formats;
    formats.DateOrder = doYDM;
    formats.DateSeparator = '.';
    formats.TimeSeparator = 'h';
    formats.FourDigitYear = !formats.FourDigitYear;
    formats.LeadingZerosInDate = !formats.LeadingZerosInDate;
    formats.ThousandSeparator = ' ';
    formats.DecimalSeparator = ';';
    formats.CurrencyString = "kr";
    formats.BooleanTrue = "Yes";
    formats.BooleanFalse = "No";
    TDvxDataFormats formatsCopy;
    formatsCopy.Assign(formats);
    EXPECT_EQ(formatsCopy.DateOrder, doYDM);
    EXPECT_EQ(formatsCopy.DateSeparator, '.');
    EXPECT_EQ(formatsCopy.TimeSeparator, 'h');
    EXPECT_EQ(formatsCopy.FourDigitYear, formats.FourDigitYear);
    EXPECT_EQ(formatsCopy.LeadingZerosInDate, formats.LeadingZerosInDate);
    EXPECT_EQ(formatsCopy.ThousandSeparator, ' ');
    EXPECT_EQ(formatsCopy.DecimalSeparator, ';');
    EXPECT_EQ(formatsCopy.CurrencyString, "kr");
    EXPECT_EQ(formatsCopy.BooleanTrue, "Yes");
    EXPECT_EQ(formatsCopy.BooleanFalse, "No");

    TDvxSendTo sendTo;
    EXPECT_TRUE(sendTo.EMailOpenBeforeSend);
    sendTo.EMailRecipient = "ops@example.org";
    sendTo.EMailSubject = "Report";
    sendTo.EMailBody = "See attachment.";
    sendTo.EMailOpenBeforeSend = false;
    TDvxSendTo sendToCopy;
    sendToCopy.Assign(sendTo);
    EXPECT_EQ(sendToCopy.EMailRecipient, "ops@example.org");
    EXPECT_EQ(sendToCopy.EMailSubject, "Report");
    EXPECT_EQ(sendToCopy.EMailBody, "See attachment.");
    EXPECT_FALSE(sendToCopy.EMailOpenBeforeSend);
}

TEST(DvxSettingsRecords, AssignAcrossClassesFailsAndChangesNothing) {
    TDorvexStyle style;
    style.SetStyle(esRose);
    TDvxDataFormats formats;
    formats.BooleanTrue = "Yes";
    TDvxSendTo sendTo;
    sendTo.EMailSubject = "Kept";

    try {
        style.Assign(formats);
        FAIL() << "data formats were assigned to a style";
    } catch (const EAssignError& error) {
        EXPECT_EQ(error.Message, "Cannot assign a TDvxDataFormats to a TDorvexStyle.");
    }
    EXPECT_THROW(formats.Assign(sendTo), EAssignError);
    EXPECT_THROW(sendTo.Assign(style), EAssignError);
    EXPECT_EQ(style.Style(), esRose);
    EXPECT_EQ(style.OddColor, 0x00B8B0D0);
    EXPECT_EQ(formats.BooleanTrue, "Yes");
    EXPECT_EQ(sendTo.EMailSubject, "Kept");
}

TEST(DvxSettingsMessages, IdsZeroTo124HaveTextsExceptThreeGaps) {
    int withText = 0;
    for (int id = 0; id < kMessageCount; ++id) {
        bool gap = id == 21 || id == 48 || id == 49;
        EXPECT_EQ(DefaultMessage(id).empty(), gap) << id;
        if (!gap) ++withText;
    }
    EXPECT_EQ(kMessageCount, 125);
    EXPECT_EQ(withText, 122);
    for (int outside : {125, -1, -125, 1000}) EXPECT_EQ(DefaultMessage(outside), "") << outside;
}

TEST(DvxSettingsMessages, TextsKeepTheirBlanksAndAccelerators) {
    EXPECT_EQ(DefaultMessage(msgPropertyNotSpecified), "Property %s is not specified.");
    EXPECT_EQ(DefaultMessage(msgUnsupportedGrid), "Assigned DBGrid (%s) is not a supported type");
    EXPECT_EQ(DefaultMessage(msgFileGenerated), "The %s file was successfully generated with exported data.");
    EXPECT_EQ(DefaultMessage(msgExportError), "Error of data export.");
    EXPECT_EQ(DefaultMessage(msgExporting), "Exporting...");
    EXPECT_EQ(DefaultMessage(msgCantCreateProgress), "Can't create a process dialog");
    EXPECT_EQ(DefaultMessage(msgCancel), "&Cancel");
    EXPECT_EQ(DefaultMessage(msgCanceled), "Data export was canceled by user.");

    EXPECT_EQ(DefaultMessage(28), " Table type ");
    EXPECT_EQ(DefaultMessage(59), " Field delimiter ");
    EXPECT_EQ(DefaultMessage(72), " Title ");
    EXPECT_EQ(DefaultMessage(73), " Data ");
    EXPECT_EQ(DefaultMessage(89), " Layout ");
    EXPECT_EQ(DefaultMessage(99), " Dates, Times and Numbers ");

    EXPECT_EQ(DefaultMessage(13), "< &Back");
    EXPECT_EQ(DefaultMessage(14), "&Next >");
    EXPECT_EQ(DefaultMessage(67), "Fixed &Width - Fields are aligned in columns with spaces between each field");
    EXPECT_EQ(DefaultMessage(108), "Time Deli&miter:");
    // Neighbours of the gaps, so that a shifted table shows.
    EXPECT_EQ(DefaultMessage(47), "LDAP DataInterchangeFormat (*.ldif)");
    EXPECT_EQ(DefaultMessage(50), "File Origin:");
    EXPECT_EQ(DefaultMessage(124), "File Name");
}
