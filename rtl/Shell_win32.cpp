#include <windows.h>
#include <shellapi.h>

#include "rtl/Shell.h"

namespace mlt {

void ShellOpen(const std::string& path) {
    ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace mlt
