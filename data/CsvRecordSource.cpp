#include "data/CsvRecordSource.h"

#include <algorithm>
#include <charconv>
#include <climits>

#include "rtl/CodePage.h"
#include "rtl/Exception.h"
#include "rtl/TextUtils.h"

namespace mlt {

namespace {

// Characters of UTF-8 text: every byte but the continuation bytes starts one, and each
// becomes one byte of the system code page.
std::size_t CharacterCount(const std::string& utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace

TCsvRecordSource::TCsvRecordSource(const std::string& path, TCsvOptions options)
    : reader_(path, options.Delimiter, options.Encoding), hasHeader_(options.HasHeader) {
    std::vector<std::string> header;
    if (hasHeader_) reader_.ReadRecord(header);
    width_ = header.size();
    dataStart_ = reader_.Offset();
    dataLine_ = reader_.Line();

    std::vector<std::size_t> longest(width_, 0);
    while (reader_.ReadRecord(fields_)) {
        if (recordCount_ == 0 && !hasHeader_) {
            width_ = fields_.size();
            longest.assign(width_, 0);
        }
        CheckWidth();
        for (std::size_t i = 0; i < width_; ++i) longest[i] = std::max(longest[i], CharacterCount(fields_[i]));
        if (recordCount_ < INT_MAX) ++recordCount_;
    }
    fileSize_ = reader_.Offset();

    types_ = std::move(options.Types);
    if (types_.size() > width_)
        throw EDatabaseError(reader_.Path() + ": " + IntToStr(static_cast<std::int64_t>(types_.size())) +
                             " column types given for " + IntToStr(static_cast<std::int64_t>(width_)) + " columns");
    types_.resize(width_, TCsvType::Text);
    for (std::size_t i = 0; i < width_; ++i) {
        TColumnDescriptor column;
        if (hasHeader_) column.Name = Utf8ToAnsi(header[i]);
        column.Type = CsvAdoType(types_[i]);
        if (types_[i] == TCsvType::Text) column.DefinedSize = static_cast<std::int64_t>(std::max<std::size_t>(longest[i], 1));
        columns_.push_back(std::move(column));
    }
    First();
}

void TCsvRecordSource::CheckWidth() const {
    if (fields_.size() == width_) return;
    throw EDatabaseError(reader_.Path() + ": " + reader_.RecordPlace() + ": " +
                         IntToStr(static_cast<std::int64_t>(fields_.size())) + " fields where the " +
                         (hasHeader_ ? "header has " : "first record has ") +
                         IntToStr(static_cast<std::int64_t>(width_)));
}

void TCsvRecordSource::ReadCurrent() {
    eof_ = !reader_.ReadRecord(fields_);
    recordStart_ = eof_ ? reader_.Offset() : reader_.RecordOffset();
    if (!eof_) CheckWidth();
}

void TCsvRecordSource::First() {
    reader_.Seek(dataStart_, dataLine_);
    ReadCurrent();
}

void TCsvRecordSource::Next() {
    if (!eof_) ReadCurrent();
}

void TCsvRecordSource::ReadRow(std::vector<Variant>& values) {
    values.resize(width_);
    for (std::size_t i = 0; i < width_; ++i) values[i] = CsvCellValue(types_[i], fields_[i]);
}

std::string TCsvRecordSource::Bookmark() { return IntToStr(recordStart_); }

void TCsvRecordSource::GotoBookmark(const std::string& bookmark) {
    std::int64_t offset = -1;
    auto [end, error] = std::from_chars(bookmark.data(), bookmark.data() + bookmark.size(), offset);
    if (error != std::errc() || end != bookmark.data() + bookmark.size() || offset < dataStart_ || offset > fileSize_)
        throw EDatabaseError("Record not found or changed by another user");
    reader_.Seek(offset, offset == dataStart_ ? dataLine_ : 0);
    ReadCurrent();
}

}  // namespace mlt
