#include "pdf/PageCompressor.h"

namespace mlt {

namespace {
// The thread wakes once several jobs wait, not at every job: waking costs more than
// compressing a page. The caller waits while the queue is full.
constexpr std::size_t kWakeJobs = 8;
constexpr std::size_t kWakeBytes = std::size_t{1} << 20;
constexpr std::size_t kMaxWaiting = 16;
constexpr std::size_t kMaxWaitingBytes = std::size_t{8} << 20;
}

TPageCompressor::TPageCompressor(TStream& out, TXRefTable& xref, bool compress)
    : out_(out), xref_(xref), compress_(compress), thread_([this] { Run(); }) {}

TPageCompressor::~TPageCompressor() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void TPageCompressor::PutRaw(std::string bytes) { Put({0, false, {}, std::move(bytes)}); }

void TPageCompressor::PutObject(std::int64_t number, std::string body) { Put({number, false, {}, std::move(body)}); }

void TPageCompressor::PutStream(std::int64_t number, std::string dictionary, std::string data) {
    Put({number, true, std::move(dictionary), std::move(data)});
}

void TPageCompressor::Put(TJob job) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] {
        return (jobs_.size() < kMaxWaiting && waitingBytes_ < kMaxWaitingBytes) || failure_;
    });
    if (failure_) std::rethrow_exception(failure_);
    waitingBytes_ += job.Data.size();
    jobs_.push_back(std::move(job));
    if (jobs_.size() >= kWakeJobs || waitingBytes_ >= kWakeBytes) changed_.notify_all();
}

std::int64_t TPageCompressor::Finish() {
    std::unique_lock lock(mutex_);
    flushing_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return (jobs_.empty() && !busy_) || failure_; });
    flushing_ = false;
    if (failure_) std::rethrow_exception(failure_);
    return written_;
}

void TPageCompressor::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] {
            return jobs_.size() >= kWakeJobs || waitingBytes_ >= kWakeBytes || (flushing_ && !jobs_.empty()) ||
                   stopping_;
        });
        if (jobs_.empty()) return;
        while (!jobs_.empty()) {
            TJob job = std::move(jobs_.front());
            jobs_.pop_front();
            waitingBytes_ -= job.Data.size();
            busy_ = true;
            lock.unlock();
            try {
                if (!failure_) Write(job);
            } catch (...) {
                lock.lock();
                failure_ = std::current_exception();
                busy_ = false;
                changed_.notify_all();
                continue;
            }
            lock.lock();
            busy_ = false;
            changed_.notify_all();
        }
    }
}

void TPageCompressor::Write(TJob& job) {
    std::string text;
    if (job.Number == 0) {
        text = std::move(job.Data);
    } else {
        xref_.Add(job.Number, written_);
        text = std::to_string(job.Number) + " 0 obj\n";
        if (job.IsStream) {
            std::string data = compress_ ? flate_.Compress(job.Data) : std::move(job.Data);
            text += "<< " + job.Dictionary + (compress_ ? " /Filter /FlateDecode" : "") +
                    " /Length " + std::to_string(data.size()) + " >>\nstream\n";
            text += data;
            text += "\nendstream";
        } else {
            text += job.Data;
        }
        text += "\nendobj\n";
    }
    out_.Write(text.data(), text.size());
    written_ += static_cast<std::int64_t>(text.size());
}

}  // namespace mlt
