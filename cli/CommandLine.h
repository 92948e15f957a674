// The command line of `marrowlintide`. ParseCommandLine reads the arguments after the
// program name; it raises TUsageError for anything it cannot take, with a message that
// says what was wrong. --help and --version are answers, not errors.
#pragma once

#include <string>
#include <vector>

#include "cli/ReportOptions.h"
#include "rtl/Exception.h"

namespace mlt {

class TUsageError : public Exception {
    using Exception::Exception;
};

enum class TCommand { Report, Help, Version };

struct TCommandLine {
    TCommand Command = TCommand::Report;
    TReportOptions Report;
};

TCommandLine ParseCommandLine(const std::vector<std::string>& args);

// A colour as a decimal TColor, $BBGGRR or #RRGGBB.
std::int32_t ParseColor(const std::string& text);

extern const char* const kUsage;

}  // namespace mlt
