#include "data/PrefetchedRecordSource.h"

#include <algorithm>
#include <utility>

namespace mlt {

TPrefetchedRecordSource::TPrefetchedRecordSource(std::unique_ptr<TRecordSource> inner) : inner_(std::move(inner)) {}

TPrefetchedRecordSource::~TPrefetchedRecordSource() { Stop(); }

std::vector<TColumnDescriptor> TPrefetchedRecordSource::Columns() {
    Stop();
    return inner_->Columns();
}

void TPrefetchedRecordSource::First() {
    DropReadAhead();
    inner_->First();
    direct_ = 0;
}

void TPrefetchedRecordSource::Next() {
    if (Eof()) return;
    if (!current_ && direct_ < DirectRecords) {
        ++direct_;
        ++sinceStart_;
        inner_->Next();
        return;
    }
    if (current_ && readIndex_ + 1 < reading_->Count) {
        current_ = &reading_->Records[++readIndex_];
    } else {
        reading_ = TakeReadyBatch();
        readIndex_ = 0;
        current_ = &reading_->Records[0];
    }
    ++sinceStart_;
    if (current_->NextFailure) std::rethrow_exception(current_->NextFailure);
}

bool TPrefetchedRecordSource::Eof() { return current_ ? current_->Eof : inner_->Eof(); }

int TPrefetchedRecordSource::RecordCount() {
    if (!recordCount_) {
        Stop();
        recordCount_ = inner_->RecordCount();
    }
    return *recordCount_;
}

void TPrefetchedRecordSource::ReadRow(std::vector<Variant>& values) {
    if (current_ && current_->ReadFailure) std::rethrow_exception(current_->ReadFailure);
    if (current_ && !current_->Eof && !current_->NextFailure) {
        values = current_->Values;
        return;
    }
    // The inner source's own record, or the one the thread stopped at.
    Stop();
    inner_->ReadRow(values);
}

bool TPrefetchedRecordSource::SupportsBookmarks() {
    Stop();
    return inner_->SupportsBookmarks();
}

std::string TPrefetchedRecordSource::Bookmark() {
    Stop();
    const bool ahead = current_ && (!ready_.empty() || readIndex_ + 1 < reading_->Count);
    if (ahead) {
        // Back to where the thread started, then as many records on as the caller went.
        const std::string start = walkStart_;
        const std::size_t steps = sinceStart_;
        DropReadAhead();
        inner_->GotoBookmark(start);
        for (std::size_t i = 0; i < steps; ++i) inner_->Next();
    }
    return inner_->Bookmark();
}

void TPrefetchedRecordSource::GotoBookmark(const std::string& bookmark) {
    DropReadAhead();
    inner_->GotoBookmark(bookmark);
}

// The next batch that the thread read; it is started when none is coming. The batch that
// the caller has finished with goes back to the thread.
std::unique_ptr<TPrefetchedRecordSource::TBatch> TPrefetchedRecordSource::TakeReadyBatch() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (reading_) spare_.push_back(std::move(reading_));
    if (ready_.empty() && !producing_) {
        lock.unlock();
        Start();
        lock.lock();
    }
    changed_.wait(lock, [this] { return !ready_.empty(); });
    std::unique_ptr<TBatch> batch = std::move(ready_.front());
    ready_.pop_front();
    changed_.notify_all();
    return batch;
}

void TPrefetchedRecordSource::Start() {
    if (thread_.joinable()) thread_.join();  // a thread that ended at the end or at a failure
    walkStart_ = inner_->SupportsBookmarks() ? inner_->Bookmark() : std::string();
    sinceStart_ = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        producing_ = true;
        stopping_ = false;
    }
    thread_ = std::thread([this] { Run(); });
}

void TPrefetchedRecordSource::Stop() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void TPrefetchedRecordSource::DropReadAhead() {
    Stop();
    for (auto& batch : ready_) spare_.push_back(std::move(batch));
    ready_.clear();
    if (reading_) spare_.push_back(std::move(reading_));
    current_ = nullptr;
    readIndex_ = 0;
}

void TPrefetchedRecordSource::Run() {
    for (;;) {
        std::unique_ptr<TBatch> batch;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [this] { return ready_.size() < MaxReadyBatches || stopping_; });
            if (stopping_) {
                producing_ = false;
                return;
            }
            if (!spare_.empty()) {
                batch = std::move(spare_.back());
                spare_.pop_back();
            }
        }
        if (!batch) batch = std::make_unique<TBatch>();
        batch->Count = 0;
        std::size_t values = 0;
        bool last = false;
        while (batch->Count < BatchSize && values < BatchValues && !last && !stopping_) {
            TRecord& record = batch->Records[batch->Count++];
            record.NextFailure = nullptr;
            record.ReadFailure = nullptr;
            try {
                inner_->Next();
            } catch (...) {
                record.NextFailure = std::current_exception();
            }
            record.Eof = inner_->Eof();
            last = record.Eof || record.NextFailure;
            if (last) break;
            try {
                inner_->ReadRow(record.Values);
                values += std::max<std::size_t>(record.Values.size(), 1);
            } catch (...) {
                record.ReadFailure = std::current_exception();
                last = true;
            }
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            // A stop can come before the first record of a batch: an empty one is no news.
            if (batch->Count > 0) ready_.push_back(std::move(batch));
            else spare_.push_back(std::move(batch));
            if (last) producing_ = false;
        }
        changed_.notify_all();
        if (last) return;
    }
}

}  // namespace mlt
