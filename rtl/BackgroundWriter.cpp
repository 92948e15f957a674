#include "rtl/BackgroundWriter.h"

#include <utility>

#include "rtl/FileHandle.h"

namespace mlt {

TBackgroundWriter::TBackgroundWriter(FileHandle& handle) : handle_(handle), thread_([this] { Run(); }) {}

TBackgroundWriter::~TBackgroundWriter() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

TByteBuffer TBackgroundWriter::Write(TByteBuffer buffer, std::size_t count) {
    std::unique_lock<std::mutex> lock(mutex_);
    WaitIdle(lock);
    buffer_ = std::move(buffer);
    count_ = count;
    busy_ = true;
    changed_.notify_all();
    return std::move(written_);
}

void TBackgroundWriter::Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    WaitIdle(lock);
}

void TBackgroundWriter::WaitIdle(std::unique_lock<std::mutex>& lock) {
    changed_.wait(lock, [this] { return !busy_; });
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void TBackgroundWriter::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return busy_ || stopping_; });
        if (!busy_) return;
        lock.unlock();
        std::exception_ptr failure;
        try {
            handle_.Write(buffer_.data(), count_);
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        written_ = std::move(buffer_);
        failure_ = failure;
        busy_ = false;
        changed_.notify_all();
    }
}

}  // namespace mlt
