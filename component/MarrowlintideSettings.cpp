#include "component/MarrowlintideSettings.h"

namespace mlt {

void TMarrowlintideSettings::ApplyDefaults() {
    OddColor = 15921906;   // 0xF2F2F2, light grey
    EvenColor = 16777215;  // white
    ShowCaption = true;
    BlankIfZero = false;
    FourDigitYear = true;
    DateFormat = -1;  // not set
    TrueString = "True";
    FalseString = "False";
    DateTimeFormat = "d/M/yyyy h:mm";
    TimeFormat = "h:mm";
    CurrencyFormat = "$";
    PageWidth = 612;  // US Letter
    PageHeight = 792;
    CaptionColor = -1;  // not set
    FieldsWidth.clear();
    FieldsCaption.clear();
    FieldsAlignment.clear();
}

}  // namespace mlt
