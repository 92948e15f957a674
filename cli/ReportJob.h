// One run of `marrowlintide report`: opens the source, builds the writer from the
// report's description, writes the file (or standard output) and reports the outcome as
// an exit status. A failed run leaves no output file behind; a canceled one leaves a complete report of the records written so far.
#pragma once

#include <cstdio>

#include "cli/ReportOptions.h"

namespace mlt {

constexpr int kExitCompleted = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitCanceled = 130;

// Messages go to `err`; a progress bar too when `err` is a terminal and not quiet.
int RunReport(const TReportOptions& options, std::FILE* err);

}  // namespace mlt
