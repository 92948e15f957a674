#include "export/DvxMessages.h"

#include <array>

namespace mlt {

namespace {

// The default texts, by id. An "&" marks a keyboard accelerator; blanks around some
// labels are part of the text.
constexpr std::array<const char*, kMessageCount> kMessages = {
    "Property %s is not specified.",  // 0
    "Assigned DBGrid (%s) is not a supported type",  // 1
    "The %s file was successfully generated with exported data.",  // 2
    "Error of data export.",  // 3
    "Data export was successfully completed.",  // 4
    "Could not create the %s file.",  // 5
    "Data exported by Dorvex generator",  // 6
    "File %s already exists. Do you want to replace it?",  // 7
    "Exporting...",  // 8
    "Can't create a process dialog",  // 9
    "Data Export Setup",  // 10
    "&OK",  // 11
    "&Cancel",  // 12
    "< &Back",  // 13
    "&Next >",  // 14
    "&Execute",  // 15
    "Data export was canceled by user.",  // 16
    "Export Wizard",  // 17
    "Step %d of %d",  // 18
    "Wizard is incomplete. If you quit the Wizard now, the new export will not be created. Abort wizard?",  // 19
    "This wizard allows you to specify details of how to export your data. Which export format would you like?",  // 20
    "",  // 21
    "Select the appropriate delimiter to separate your fields.",  // 22
    "You can define custom properties for the exported columns.",  // 23
    "You can add a custom header and/or footer.",  // 24
    "That's all of the information the wizard needs to export your data.",  // 25
    "Header",  // 26
    "Footer",  // 27
    " Table type ",  // 28
    "Paradox file (*.db)",  // 29
    "DBase file (*.dbf)",  // 30
    "Text file (*.txt)",  // 31
    "HTML file (*.htm)",  // 32
    "Excel spreadsheet (*.xls)",  // 33
    "Excel file (*.xls)",  // 34
    "Word file (*.doc)",  // 35
    "SYLK (Symbolic Link) (*.slk)",  // 36
    "DIF (Data Interchange Format) (*.dif)",  // 37
    "Lotus 1-2-3 file (*.wk1)",  // 38
    "QuattroPro file (*.wq1)",  // 39
    "SQL script file (*.sql)",  // 40
    "XML file (*.xml)",  // 41
    "MS Access database (*.mdb)",  // 42
    "MS Windows clipboard",  // 43
    "Rich Text format (*.rtf)",  // 44
    "SPSS format (*.sav)",  // 45
    "Adobe Acrobat Document (*.pdf)",  // 46
    "LDAP DataInterchangeFormat (*.ldif)",  // 47
    "",  // 48
    "",  // 49
    "File Origin:",  // 50
    "Selected records only",  // 51
    "Include column titles",  // 52
    "Put field titles on the first row",  // 53
    "Blank if zero",  // 54
    "Action after exporting",  // 55
    "None",  // 56
    "open for file view",  // 57
    "e-mail with file attachment",  // 58
    " Field delimiter ",  // 59
    "Tab",  // 60
    "Semicolon",  // 61
    "Comma",  // 62
    "Space",  // 63
    "Other symbol:",  // 64
    "Fixed column length",  // 65
    "&Delimited - Characters such as commas or tabs separate each field",  // 66
    "Fixed &Width - Fields are aligned in columns with spaces between each field",  // 67
    "Export to a File:",  // 68
    "Export to",  // 69
    "All files (*.*)|*.*",  // 70
    "Table name:",  // 71
    " Title ",  // 72
    " Data ",  // 73
    "Caption:",  // 74
    "Alignment:",  // 75
    "Background:",  // 76
    "Font:",  // 77
    "Width:",  // 78
    "characters",  // 79
    "left",  // 80
    "right",  // 81
    "center",  // 82
    "Specifications...",  // 83
    "Record separator:",  // 84
    "Text qualifier:",  // 85
    "none",  // 86
    "Records per each file",  // 87
    "You can select desired layout of exported data",  // 88
    " Layout ",  // 89
    "columnar",  // 90
    "reversed columnar",  // 91
    "tabular form",  // 92
    "Color Style:",  // 93
    "Select &All",  // 94
    "&Unselect All",  // 95
    "&Revert selection",  // 96
    "add a blank row after field names",  // 97
    "Preview",  // 98
    " Dates, Times and Numbers ",  // 99
    "Date &Order:",  // 100
    "MDY",  // 101
    "DMY",  // 102
    "YMD",  // 103
    "YDM",  // 104
    "DYM",  // 105
    "MYD",  // 106
    "Date De&limiter:",  // 107
    "Time Deli&miter:",  // 108
    "Four Digit &Years",  // 109
    "Leading &Zeros in Dates",  // 110
    "Decimal Sym&bol:",  // 111
    "&Thousand Separator:",  // 112
    "&Currency Symbol:",  // 113
    "Logical values:",  // 114
    "You can define any custom data formats.",  // 115
    "Merge existing file",  // 116
    "File Format",  // 117
    "Data Origin",  // 118
    "Text Settings",  // 119
    "Data Formats",  // 120
    "Columns",  // 121
    "Header and Footer",  // 122
    "Layout",  // 123
    "File Name",  // 124
};

}  // namespace

std::string DefaultMessage(int id) {
    if (id < 0 || id >= kMessageCount) return {};
    return kMessages[static_cast<std::size_t>(id)];
}

}  // namespace mlt
