#include <windows.h>

#include "rtl/DateTime.h"

namespace mlt {

TDateTime Now() {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return EncodeDate(local.wYear, local.wMonth, local.wDay) +
           EncodeTime(local.wHour, local.wMinute, local.wSecond, local.wMilliseconds);
}

}  // namespace mlt
