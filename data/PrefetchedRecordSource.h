// TPrefetchedRecordSource: another record source, read ahead on a thread of its own, so
// that stepping to and reading the next records overlaps the work on the current one. The
// first records come straight from the inner source, so that a small table starts no
// thread; after that a thread reads batches of records ahead, a few batches at most.
//
// The inner source is never used by two threads at once: every call but Next, Eof and
// ReadRow stops the thread first. Records read ahead stay queued where they remain valid
// (RecordCount, Columns) and are dropped where the walk starts again (First,
// GotoBookmark); Bookmark walks the inner source back to the caller's record when it
// stands ahead. RecordCount asks the inner source once: a progress display asks for it
// at every record, and the sources count their records once anyway. A failure met by the thread reaches the caller at the record where it
// happened, from the call that met it (Next or ReadRow).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "data/RecordSource.h"

namespace mlt {

class TPrefetchedRecordSource : public TRecordSource {
public:
    // Records read one by one before the thread starts.
    static constexpr std::size_t DirectRecords = 1000;
    // A batch ends at BatchSize records or at BatchValues values, whichever comes first:
    // large batches keep the two threads from waking each other at every few records,
    // and the value count keeps a batch of wide records small.
    static constexpr std::size_t BatchSize = 1024;
    static constexpr std::size_t BatchValues = 4096;
    static constexpr std::size_t MaxReadyBatches = 4;

    explicit TPrefetchedRecordSource(std::unique_ptr<TRecordSource> inner);
    ~TPrefetchedRecordSource() override;
    TPrefetchedRecordSource(const TPrefetchedRecordSource&) = delete;
    TPrefetchedRecordSource& operator=(const TPrefetchedRecordSource&) = delete;

    std::vector<TColumnDescriptor> Columns() override;
    void First() override;
    void Next() override;
    bool Eof() override;
    int RecordCount() override;
    void ReadRow(std::vector<Variant>& values) override;

    bool SupportsBookmarks() override;
    std::string Bookmark() override;
    void GotoBookmark(const std::string& bookmark) override;

private:
    // One record as the thread met it: its values, or the failure of the step to it or of
    // reading it.
    struct TRecord {
        std::vector<Variant> Values;
        bool Eof = false;
        std::exception_ptr NextFailure;
        std::exception_ptr ReadFailure;
    };
    struct TBatch {
        std::vector<TRecord> Records = std::vector<TRecord>(BatchSize);
        std::size_t Count = 0;
    };

    void Run();
    void Start();
    void Stop();
    void DropReadAhead();
    std::unique_ptr<TBatch> TakeReadyBatch();

    std::unique_ptr<TRecordSource> inner_;
    // The caller's record: nullptr while it is the inner source's current one.
    const TRecord* current_ = nullptr;
    std::unique_ptr<TBatch> reading_;  // the batch that current_ points into
    std::size_t readIndex_ = 0;
    std::size_t direct_ = 0;  // records stepped directly since the walk started
    // Where the thread last started, and how many records the caller went on from there.
    std::string walkStart_;
    std::size_t sinceStart_ = 0;
    std::optional<int> recordCount_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<TBatch>> ready_;
    std::vector<std::unique_ptr<TBatch>> spare_;
    bool producing_ = false;  // the thread runs and will publish more
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace mlt
