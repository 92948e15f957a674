// Signals during a run. The first Ctrl-C (SIGINT) is a cancel request: it only sets a flag
// that the export reads between records, so the report still ends as a complete file, and
// that the database reads while it prepares and counts. A second Ctrl-C, SIGTERM and
// SIGHUP end the process at once, as the signal would, after removing the temporary files
// of the reports being written, so that the previous reports stay as they were.
#pragma once

#include <atomic>

namespace mlt {

void InstallInterruptHandler();
bool InterruptRequested();
const std::atomic<bool>& InterruptFlag();
void ClearInterrupt();

}  // namespace mlt
