#include "rtl/FormatSettings.h"

namespace mlt {

const TFormatSettings& DefaultFormatSettings() {
    static const TFormatSettings settings = ReadSystemFormatSettings();
    return settings;
}

}  // namespace mlt
