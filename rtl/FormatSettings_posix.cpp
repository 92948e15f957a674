#include "rtl/FormatSettings.h"

namespace mlt {

// Hosts without Windows locale settings get US English, whatever LANG says, so that a
// report's text never depends on the shell it was started from.
TFormatSettings ReadSystemFormatSettings() { return TFormatSettings{}; }

}  // namespace mlt
