#include "rtl/Stream.h"

#include "rtl/Exception.h"

namespace mlt {

void TStream::ReadBuffer(void* data, std::size_t count) {
    if (Read(data, count) != count) throw EInOutError("Stream read error");
}

}  // namespace mlt
