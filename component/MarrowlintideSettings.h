// The presentation settings of the Marrowlintide component: what a page script or the
// command line sets before an export. A new value holds zeros (0, False, empty text);
// ApplyDefaults gives the documented defaults, as OnStartPage does. Setting a value
// never checks it; the export recipe resolves the lists and the page size when it runs.
#pragma once

#include <cstdint>
#include <string>

namespace mlt {

struct TMarrowlintideSettings {
    std::int32_t OddColor = 0;
    std::int32_t EvenColor = 0;
    bool ShowCaption = false;
    bool BlankIfZero = false;
    bool FourDigitYear = false;
    std::int32_t DateFormat = 0;
    std::string TrueString;
    std::string FalseString;
    std::string DateTimeFormat;
    std::string TimeFormat;
    std::string CurrencyFormat;
    std::int32_t PageWidth = 0;
    std::int32_t PageHeight = 0;
    std::int32_t CaptionColor = 0;
    std::string FieldsWidth;
    std::string FieldsCaption;
    std::string FieldsAlignment;

    void ApplyDefaults();
    void SetPageSize(std::int32_t width, std::int32_t height) {
        PageWidth = width;
        PageHeight = height;
    }
};

}  // namespace mlt
