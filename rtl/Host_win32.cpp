#include <windows.h>

#include "rtl/Host.h"

namespace mlt {

std::string ExecutablePath() {
    char buffer[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return std::string(buffer, n);
}

}  // namespace mlt
