// TStream: a byte sequence with a position. Write and Read move the position; WriteBuffer
// and ReadBuffer raise EInOutError when not every byte could be moved.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace mlt {

enum class TSeekOrigin { Beginning, Current, End };

class TStream {
public:
    virtual ~TStream() = default;

    virtual void Write(const void* data, std::size_t count) = 0;
    virtual std::size_t Read(void* data, std::size_t count) = 0;
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
    virtual std::int64_t Size() = 0;

    std::int64_t Position() { return Seek(0, TSeekOrigin::Current); }
    void SetPosition(std::int64_t position) { Seek(position, TSeekOrigin::Beginning); }

    void Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }
    void ReadBuffer(void* data, std::size_t count);
};

}  // namespace mlt
