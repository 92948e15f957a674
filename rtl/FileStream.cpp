#include "rtl/FileStream.h"

#include <cstring>
#include <utility>

#include "rtl/Exception.h"

namespace mlt {

namespace {
constexpr std::size_t kBufferSize = 1 << 20;
}

TFileStream::TFileStream(const std::string& path, TFileMode mode) : TFileStream(FileHandle::Open(path, mode), path, mode) {}

TFileStream::TFileStream(std::unique_ptr<FileHandle> handle, std::string name, TFileMode mode)
    : path_(std::move(name)), handle_(std::move(handle)) {
    if (mode != TFileMode::OpenRead) buffer_.resize(kBufferSize);
}

TFileStream::~TFileStream() {
    try {
        Close();
    } catch (const Exception&) {
        // Destruction cannot report; callers that need the outcome call Close first.
    }
}

void TFileStream::Write(const void* data, std::size_t count) {
    if (!handle_) throw EInOutError("Stream write error: " + path_ + " is closed");
    auto* bytes = static_cast<const char*>(data);
    if (count >= buffer_.size()) {
        FlushBuffer();
        handle_->Write(bytes, count);
        return;
    }
    if (used_ + count > buffer_.size()) HandOffBuffer();
    std::memcpy(buffer_.data() + used_, bytes, count);
    used_ += count;
}

std::size_t TFileStream::Read(void* data, std::size_t count) {
    FlushBuffer();
    return handle_->Read(static_cast<char*>(data), count);
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    WaitForWriter();
    if (origin == TSeekOrigin::Current && offset == 0) return handle_->Seek(0, origin) + static_cast<std::int64_t>(used_);
    FlushBuffer();
    return handle_->Seek(offset, origin);
}

std::int64_t TFileStream::Size() {
    FlushBuffer();
    std::int64_t here = handle_->Seek(0, TSeekOrigin::Current);
    std::int64_t end = handle_->Seek(0, TSeekOrigin::End);
    handle_->Seek(here, TSeekOrigin::Beginning);
    return end;
}

void TFileStream::HandOffBuffer() {
    if (!writer_) writer_ = std::make_unique<TBackgroundWriter>(*handle_);
    TByteBuffer spare = writer_->Write(std::move(buffer_), std::exchange(used_, 0));
    buffer_ = spare.empty() ? TByteBuffer(kBufferSize) : std::move(spare);
}

void TFileStream::WaitForWriter() {
    if (writer_) writer_->Wait();
}

void TFileStream::FlushBuffer() {
    WaitForWriter();
    if (used_ == 0 || !handle_) return;
    std::size_t n = used_;
    used_ = 0;
    handle_->Write(buffer_.data(), n);
}

void TFileStream::FlushToDisk() {
    FlushBuffer();
    handle_->Sync();
}

void TFileStream::Close() {
    if (!handle_) return;
    try {
        FlushBuffer();
    } catch (...) {
        writer_.reset();
        handle_.reset();
        throw;
    }
    writer_.reset();
    auto handle = std::move(handle_);
    handle->Close();
}

}  // namespace mlt
