// The shell's "open" action on a file: the program associated with its type shows it.
// The outcome is not reported; "open" is a convenience after an export.
#pragma once

#include <string>

namespace mlt {

// One implementation per platform: ShellExecute on Windows, a detached xdg-open elsewhere.
void ShellOpen(const std::string& path);

}  // namespace mlt
