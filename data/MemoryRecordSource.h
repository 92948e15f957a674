// TMemoryRecordSource: rows held in memory, for tests and for callers that build a table
// in code. Bookmarks are row numbers.
#pragma once

#include <vector>

#include "data/RecordSource.h"

namespace mlt {

class TMemoryRecordSource : public TRecordSource {
public:
    TMemoryRecordSource(std::vector<TColumnDescriptor> columns, std::vector<std::vector<Variant>> rows)
        : columns_(std::move(columns)), rows_(std::move(rows)) {}

    std::vector<TColumnDescriptor> Columns() override { return columns_; }
    void First() override { current_ = 0; }
    void Next() override {
        if (current_ < rows_.size()) ++current_;
    }
    bool Eof() override { return current_ >= rows_.size(); }
    int RecordCount() override { return static_cast<int>(rows_.size()); }
    void ReadRow(std::vector<Variant>& values) override { values = rows_.at(current_); }

    bool SupportsBookmarks() override { return true; }
    std::string Bookmark() override { return std::to_string(current_); }
    void GotoBookmark(const std::string& bookmark) override;

private:
    std::vector<TColumnDescriptor> columns_;
    std::vector<std::vector<Variant>> rows_;
    std::size_t current_ = 0;
};

}  // namespace mlt
