// Records read ahead on a thread must reach the caller exactly as the inner source gives
// them, whatever the caller asks in between, and a failure must surface at its record.
#include "data/PrefetchedRecordSource.h"

#include <gtest/gtest.h>

#include <string>

#include "data/MemoryRecordSource.h"
#include "rtl/Exception.h"

using namespace mlt;

namespace {

constexpr int kRecords = 5000;

// Records 0 .. count-1 of a text and a number column; a record's values name it.
std::vector<std::vector<Variant>> Numbered(int count) {
    std::vector<std::vector<Variant>> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back({Variant::String("record number " + std::to_string(i)), Variant::Integer(i)});
    return rows;
}

std::unique_ptr<TMemoryRecordSource> Inner(int count = kRecords) {
    return std::make_unique<TMemoryRecordSource>(
        std::vector<TColumnDescriptor>{{"Text", adVarChar, 40}, {"Number", adInteger}}, Numbered(count));
}

// A source that fails to step to record `failNext` and to read record `failRead`.
class FailingSource : public TMemoryRecordSource {
public:
    FailingSource(int failNext, int failRead)
        : TMemoryRecordSource({{"Number", adInteger}}, Rows()), failNext_(failNext), failRead_(failRead) {}
    void Next() override {
        TMemoryRecordSource::Next();
        if (++at_ == failNext_) throw EDatabaseError("cannot step to " + std::to_string(at_));
    }
    void First() override {
        TMemoryRecordSource::First();
        at_ = 0;
    }
    void ReadRow(std::vector<Variant>& values) override {
        if (at_ == failRead_) throw EDatabaseError("cannot read " + std::to_string(at_));
        TMemoryRecordSource::ReadRow(values);
    }

private:
    static std::vector<std::vector<Variant>> Rows() {
        std::vector<std::vector<Variant>> rows;
        for (int i = 0; i < kRecords; ++i) rows.push_back({Variant::Integer(i)});
        return rows;
    }
    int failNext_, failRead_;
    int at_ = 0;
};

int NumberOf(TRecordSource& source) {
    std::vector<Variant> values;
    source.ReadRow(values);
    return static_cast<int>(values.back().IntegerValue());
}

}  // namespace

TEST(PrefetchedRecordSource, GivesEveryRecordInOrderWhateverIsAskedBetween) {
    TPrefetchedRecordSource source(Inner());
    ASSERT_EQ(source.Columns().size(), 2u);
    std::vector<Variant> values;
    for (int pass = 0; pass < 2; ++pass) {
        source.First();
        for (int i = 0; i < kRecords; ++i, source.Next()) {
            ASSERT_FALSE(source.Eof()) << i;
            // What a progress display and a run's bookkeeping ask in between.
            ASSERT_EQ(source.RecordCount(), kRecords);
            if (i % 777 == 0) {
                ASSERT_TRUE(source.SupportsBookmarks());
            }
            source.ReadRow(values);
            ASSERT_EQ(values[0].Bytes(), "record number " + std::to_string(i));
            ASSERT_EQ(values[1].IntegerValue(), i);
        }
        EXPECT_TRUE(source.Eof());
        source.Next();  // past the end: stays there
        EXPECT_TRUE(source.Eof());
    }
}

TEST(PrefetchedRecordSource, BookmarksTakenWhileReadingAheadLeadBackToTheirRecord) {
    TPrefetchedRecordSource source(Inner());
    std::vector<std::pair<std::string, int>> marks;
    for (int i = 0; i < kRecords; ++i, source.Next()) {
        if (i % 1500 == 1234) marks.emplace_back(source.Bookmark(), i);
        ASSERT_EQ(NumberOf(source), i);  // walking on after a bookmark stays in step
    }
    ASSERT_EQ(marks.size(), 3u);
    for (const auto& [bookmark, record] : marks) {
        source.GotoBookmark(bookmark);
        EXPECT_EQ(NumberOf(source), record);
        source.Next();
        EXPECT_EQ(NumberOf(source), record + 1);
    }
}

TEST(PrefetchedRecordSource, FailuresSurfaceAtTheirRecordFromTheirCall) {
    // Past the records that are read directly, so that the thread meets the failures.
    const int failRead = 3000, failNext = 4000;
    TPrefetchedRecordSource source(std::make_unique<FailingSource>(failNext, failRead));
    for (int i = 0; i < failRead; ++i, source.Next()) ASSERT_EQ(NumberOf(source), i);
    EXPECT_THROW(NumberOf(source), EDatabaseError);
    source.Next();  // the walk goes on after a record that cannot be read
    for (int i = failRead + 1; i < failNext - 1; ++i, source.Next()) ASSERT_EQ(NumberOf(source), i);
    EXPECT_EQ(NumberOf(source), failNext - 1);
    EXPECT_THROW(source.Next(), EDatabaseError);
}

TEST(PrefetchedRecordSource, StopsReadingWhenDestroyedPartWay) {
    for (int stopAt : {0, 999, 1000, 1001, 2500}) {
        TPrefetchedRecordSource source(Inner());
        for (int i = 0; i < stopAt; ++i) source.Next();
        EXPECT_EQ(NumberOf(source), stopAt);
    }
}
