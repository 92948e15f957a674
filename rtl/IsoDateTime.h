// Date and time texts in ISO form: YYYY-MM-DD, YYYY-MM-DD HH:MM[:SS[.fff]] (a "T" may
// stand for the blank) and HH:MM[:SS[.fff]]. Only real dates and times read; anything
// else, trailing text included, gives no value.
#pragma once

#include <optional>
#include <string_view>

#include "rtl/DateTime.h"

namespace mlt {

struct TIsoDateTime {
    std::optional<TDateTime> Date;  // whole days since 1899-12-30
    std::optional<TDateTime> Time;  // the fraction of the day

    // Days since 1899-12-30 counted straight on: the date plus the time of day.
    double Days() const { return Date.value_or(0) + Time.value_or(0); }
    // The OLE date: before 1899-12-30 the time of day still counts forward, so it is
    // subtracted from the (negative) day.
    TDateTime OleDate() const;
};

std::optional<TIsoDateTime> ParseIsoDateTime(std::string_view text);

}  // namespace mlt
