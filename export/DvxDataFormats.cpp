#include "export/DvxDataFormats.h"

namespace mlt {

TDvxDataFormats::TDvxDataFormats(const TFormatSettings& process)
    : DateSeparator(process.DateSeparator),
      TimeSeparator(process.TimeSeparator),
      FourDigitYear(process.ShortDateFormat.find("yyyy") != std::string::npos),
      LeadingZerosInDate(process.ShortDateFormat.find("dd") != std::string::npos),
      ThousandSeparator(process.ThousandSeparator),
      DecimalSeparator(process.DecimalSeparator),
      CurrencyString(process.CurrencyString) {}

void TDvxDataFormats::Assign(const TPersistent& source) {
    if (auto* formats = dynamic_cast<const TDvxDataFormats*>(&source)) {
        *this = *formats;
        return;
    }
    TPersistent::Assign(source);
}

TFormatSettings TDvxDataFormats::Apply(const TFormatSettings& process) const {
    TFormatSettings settings = process;
    settings.DecimalSeparator = DecimalSeparator;
    settings.DateSeparator = DateSeparator;
    settings.TimeSeparator = TimeSeparator;
    settings.ThousandSeparator = ThousandSeparator;
    settings.CurrencyString = CurrencyString;
    return settings;
}

}  // namespace mlt
