// TContentBuffer: the append-only memory stream that holds a page's content stream while
// the page is built. AppendLine adds a line and its CR LF in one inline step, with an
// inline copy for short lines, since a page gets about a dozen lines per cell. Its
// position is always its end: Read gives nothing and Seek only reports the size. Clear
// keeps the memory for the next page.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "rtl/ByteBuffer.h"
#include "rtl/Stream.h"

namespace mlt {

class TContentBuffer : public TStream {
public:
    void Write(const void* data, std::size_t count) override {
        std::memcpy(Room(count), data, count);
        used_ += count;
    }
    std::size_t Read(void*, std::size_t) override { return 0; }
    std::int64_t Seek(std::int64_t, TSeekOrigin) override { return Size(); }
    std::int64_t Size() override { return static_cast<std::int64_t>(used_); }
    using TStream::Write;

    void AppendLine(std::string_view text) {
        char* at = Room(text.size() + 2);
        Copy(at, text.data(), text.size());
        at[text.size()] = '\r';
        at[text.size() + 1] = '\n';
        used_ += text.size() + 2;
    }

    // Room for at least `count` more bytes at the end. The caller writes there and hands
    // the end of what it wrote to Commit; nothing else may come between.
    char* Reserve(std::size_t count) { return Room(count); }
    void Commit(const char* end) { used_ = static_cast<std::size_t>(end - bytes_.data()); }

    std::string_view Memory() const { return {bytes_.data(), used_}; }
    void Clear() { used_ = 0; }

private:
    // memcpy for the short lines of a page, inline: two overlapping words cover the
    // lengths of a band, so nothing is read or written outside the text.
    template <class Word>
    static void CopyOverlapped(char* to, const char* from, std::size_t count) {
        Word head, tail;
        std::memcpy(&head, from, sizeof head);
        std::memcpy(&tail, from + count - sizeof tail, sizeof tail);
        std::memcpy(to, &head, sizeof head);
        std::memcpy(to + count - sizeof tail, &tail, sizeof tail);
    }
    struct Bytes16 {
        std::uint64_t Low, High;
    };
    static void Copy(char* to, const char* from, std::size_t count) {
        if (count > 32) {
            std::memcpy(to, from, count);
        } else if (count >= 16) {
            CopyOverlapped<Bytes16>(to, from, count);
        } else if (count >= 8) {
            CopyOverlapped<std::uint64_t>(to, from, count);
        } else if (count >= 4) {
            CopyOverlapped<std::uint32_t>(to, from, count);
        } else {
            for (std::size_t i = 0; i < count; ++i) to[i] = from[i];
        }
    }

    char* Room(std::size_t count) {
        if (used_ + count > bytes_.size()) [[unlikely]]
            Grow(count);
        return bytes_.data() + used_;
    }
    [[gnu::noinline]] void Grow(std::size_t count) { bytes_.resize(std::max(2 * bytes_.size(), used_ + count)); }

    TByteBuffer bytes_ = TByteBuffer(1 << 16);
    std::size_t used_ = 0;
};

}  // namespace mlt
