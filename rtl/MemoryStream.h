// TMemoryStream: a growable in-memory byte stream. Memory() views the whole content.
#pragma once

#include <string>
#include <string_view>

#include "rtl/Stream.h"

namespace mlt {

class TMemoryStream : public TStream {
public:
    void Write(const void* data, std::size_t count) override;
    std::size_t Read(void* data, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(bytes_.size()); }
    using TStream::Write;

    std::string_view Memory() const { return bytes_; }
    void Clear() {
        bytes_.clear();
        position_ = 0;
    }
    void Reserve(std::size_t capacity) { bytes_.reserve(capacity); }

private:
    std::string bytes_;
    std::size_t position_ = 0;
};

}  // namespace mlt
