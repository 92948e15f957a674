// TBackgroundWriter: writes full buffers of a file on a thread of its own, one at a time,
// so that the caller fills the next buffer while the OS copies the last one. Write hands
// over a buffer and gives back the one written before it, for reuse; a failure of the
// thread's write is thrown to the caller by the next Write or Wait. The destructor waits
// for the write in progress and stops the thread.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <thread>

#include "rtl/ByteBuffer.h"

namespace mlt {

class FileHandle;

class TBackgroundWriter {
public:
    explicit TBackgroundWriter(FileHandle& handle);
    ~TBackgroundWriter();
    TBackgroundWriter(const TBackgroundWriter&) = delete;
    TBackgroundWriter& operator=(const TBackgroundWriter&) = delete;

    // Waits for the write in progress, then starts writing the first `count` bytes of
    // `buffer`. Returns the buffer that was written before (empty the first time).
    TByteBuffer Write(TByteBuffer buffer, std::size_t count);
    // Waits for the write in progress.
    void Wait();

private:
    void WaitIdle(std::unique_lock<std::mutex>& lock);
    void Run();

    FileHandle& handle_;
    std::mutex mutex_;
    std::condition_variable changed_;
    TByteBuffer buffer_;
    TByteBuffer written_;
    std::size_t count_ = 0;
    bool busy_ = false;
    bool stopping_ = false;
    std::exception_ptr failure_;
    std::thread thread_;
};

}  // namespace mlt
