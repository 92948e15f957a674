#include "rtl/Colors.h"

#include <windows.h>

namespace mlt {

std::uint32_t GetSysColor(int index) {
    return static_cast<std::uint32_t>(::GetSysColor(index));
}

}  // namespace mlt
