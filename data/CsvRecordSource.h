// TCsvRecordSource: the records of a CSV file, or of standard input for "-" (see
// TCsvReader for the format, the delimiter and the encoding). Opening
// streams the file once: it reads the header row (when there is one), checks that every
// record has as many fields as the header or, without one, the first record, counts the
// records and measures each column's longest value; no record is kept. A record of
// another width raises EDatabaseError with the file name and line. Without a header the
// columns have no names, which the dataset turns into COLUMN1, COLUMN2, ...
//
// Columns are text (adVarChar, sized to their longest value) unless the options give a
// type per column (see CsvColumnType.h); a shorter type list leaves the remaining columns
// text, a longer one is an error. First() seeks back to the first record; bookmarks are
// byte offsets of record starts.
#pragma once

#include <string>
#include <vector>

#include "data/CsvColumnType.h"
#include "data/CsvReader.h"
#include "data/RecordSource.h"

namespace mlt {

struct TCsvOptions {
    bool HasHeader = true;
    std::vector<TCsvType> Types;
    char Delimiter = ',';  // kAutoDelimiter: detected
    TCsvEncoding Encoding = TCsvEncoding::Utf8;
};

class TCsvRecordSource : public TRecordSource {
public:
    explicit TCsvRecordSource(const std::string& path, TCsvOptions options = {});

    std::vector<TColumnDescriptor> Columns() override { return columns_; }
    void First() override;
    void Next() override;
    bool Eof() override { return eof_; }
    int RecordCount() override { return recordCount_; }
    void ReadRow(std::vector<Variant>& values) override;

    bool SupportsBookmarks() override { return true; }
    std::string Bookmark() override;
    void GotoBookmark(const std::string& bookmark) override;

private:
    void ReadCurrent();
    void CheckWidth() const;

    TCsvReader reader_;
    bool hasHeader_;
    std::size_t width_ = 0;
    std::vector<TColumnDescriptor> columns_;
    std::vector<TCsvType> types_;
    std::int64_t dataStart_ = 0;
    int dataLine_ = 0;
    std::int64_t fileSize_ = 0;
    int recordCount_ = 0;
    std::vector<std::string> fields_;
    std::int64_t recordStart_ = 0;
    bool eof_ = true;
};

}  // namespace mlt
