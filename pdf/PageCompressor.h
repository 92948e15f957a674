// TPageCompressor: the modern report's output stage. Objects reach the stream in the
// order they are handed over; a page's content is Flate-compressed (when asked) on a
// thread of its own, so that the writer builds the next page meanwhile. The stage counts
// the bytes it writes and records every object's offset in the cross-reference table.
// The thread wakes once a few pages wait, and at most a few more wait at once, so
// memory stays flat. A failure on the thread (a write error) is thrown to the caller by
// the next Put or by Finish.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <thread>

#include "pdf/XRefTable.h"
#include "pdf/fonts/Flate.h"
#include "rtl/Stream.h"

namespace mlt {

class TPageCompressor {
public:
    TPageCompressor(TStream& out, TXRefTable& xref, bool compress);
    ~TPageCompressor();
    TPageCompressor(const TPageCompressor&) = delete;
    TPageCompressor& operator=(const TPageCompressor&) = delete;

    // Bytes outside any object (the file header).
    void PutRaw(std::string bytes);
    // Object `number` with that body (the text between "obj" and "endobj").
    void PutObject(std::int64_t number, std::string body);
    // A stream object from its dictionary entries (without << >>, /Length and /Filter)
    // and its data, compressed when the stage compresses.
    void PutStream(std::int64_t number, std::string dictionary, std::string data);
    // Waits until everything handed over is written; returns the bytes written so far.
    std::int64_t Finish();
    bool Compresses() const { return compress_; }

private:
    struct TJob {
        std::int64_t Number;  // 0: raw bytes
        bool IsStream;
        std::string Dictionary;
        std::string Data;
    };
    void Put(TJob job);
    void Run();
    void Write(TJob& job);

    TStream& out_;
    TXRefTable& xref_;
    const bool compress_;
    // Level 1: page content repeats itself, so the fastest level already packs it well.
    TFlateCompressor flate_{1};
    std::int64_t written_ = 0;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<TJob> jobs_;
    std::size_t waitingBytes_ = 0;  // of the jobs' data
    bool flushing_ = false;         // Finish waits: every job is due now
    bool busy_ = false;
    bool stopping_ = false;
    std::exception_ptr failure_;
    std::thread thread_;
};

}  // namespace mlt
