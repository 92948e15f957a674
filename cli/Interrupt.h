// Ctrl-C as a cancel request: the first interrupt only sets a flag that the export
// reads between records, so the report still ends as a complete file.
#pragma once

namespace mlt {

void InstallInterruptHandler();
bool InterruptRequested();
void ClearInterrupt();

}  // namespace mlt
