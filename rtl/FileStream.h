// TFileStream: a file written through a large buffer. Opening creates (replacing) or
// opens for appending; a stream can also take over a handle of its own making, such as
// standard output or a temporary file. A file that outgrows one buffer is written by a TBackgroundWriter,
// while the next buffer fills; everything but a plain Write waits for it first. FlushToDisk empties the buffer and asks the OS to put the file on
// the disk (fsync, FlushFileBuffers). Close reports every deferred write error; the
// destructor closes quietly, so callers that care about errors call Close first.
#pragma once

#include <memory>
#include <string>

#include "rtl/BackgroundWriter.h"
#include "rtl/FileHandle.h"
#include "rtl/Stream.h"

namespace mlt {

class TFileStream : public TStream {
public:
    TFileStream(const std::string& path, TFileMode mode);
    // `name` stands for the handle in messages; `mode` says whether it is written.
    TFileStream(std::unique_ptr<FileHandle> handle, std::string name, TFileMode mode);
    ~TFileStream() override;

    void Write(const void* data, std::size_t count) override;
    std::size_t Read(void* data, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override;
    using TStream::Write;

    void FlushToDisk();
    void Close();
    const std::string& Path() const { return path_; }
    bool CanSeek() { return handle_->CanSeek(); }

private:
    void HandOffBuffer();
    void FlushBuffer();
    void WaitForWriter();

    std::string path_;
    std::unique_ptr<FileHandle> handle_;
    // Declared after the handle that it writes to, so that it stops first.
    std::unique_ptr<TBackgroundWriter> writer_;
    TByteBuffer buffer_;
    std::size_t used_ = 0;
};

}  // namespace mlt
