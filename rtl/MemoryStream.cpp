#include "rtl/MemoryStream.h"

#include <algorithm>
#include <cstring>

namespace mlt {

void TMemoryStream::Write(const void* data, std::size_t count) {
    if (count == 0) return;
    if (position_ == bytes_.size()) {
        bytes_.append(static_cast<const char*>(data), count);
    } else {
        if (position_ + count > bytes_.size()) bytes_.resize(position_ + count);
        std::memcpy(bytes_.data() + position_, data, count);
    }
    position_ += count;
}

std::size_t TMemoryStream::Read(void* data, std::size_t count) {
    std::size_t available = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
    std::size_t n = std::min(count, available);
    if (n > 0) std::memcpy(data, bytes_.data() + position_, n);
    position_ += n;
    return n;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    std::int64_t base = origin == TSeekOrigin::Beginning ? 0
                        : origin == TSeekOrigin::Current ? static_cast<std::int64_t>(position_)
                                                         : Size();
    std::int64_t target = std::max<std::int64_t>(0, base + offset);
    position_ = static_cast<std::size_t>(target);
    return target;
}

}  // namespace mlt
