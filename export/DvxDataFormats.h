// TDvxDataFormats: the separators, currency text and Boolean texts of an export. The
// separators and currency text start as the process's and are put in force for the
// length of a run; DateOrder, FourDigitYear and LeadingZerosInDate are only stored.
#pragma once

#include <string>

#include "rtl/FormatSettings.h"
#include "rtl/Persistent.h"

namespace mlt {

enum TDvxDateOrder { doMDY, doDMY, doYMD, doYDM, doDYM, doMYD };

class TDvxDataFormats : public TPersistent {
public:
    TDvxDataFormats() : TDvxDataFormats(DefaultFormatSettings()) {}
    explicit TDvxDataFormats(const TFormatSettings& process);
    std::string ClassName() const override { return "TDvxDataFormats"; }
    void Assign(const TPersistent& source) override;

    // The process's settings with this record's separators and currency text in force.
    TFormatSettings Apply(const TFormatSettings& process) const;

    TDvxDateOrder DateOrder = doMDY;
    char DateSeparator;
    char TimeSeparator;
    bool FourDigitYear;
    bool LeadingZerosInDate;
    char ThousandSeparator;
    char DecimalSeparator;
    std::string CurrencyString;
    std::string BooleanTrue = "True";
    std::string BooleanFalse = "False";
};

}  // namespace mlt
