// TCsvReader: splits a CSV file into records of fields, streaming it through a buffer.
// Fields are separated by commas; a field in double quotes may hold commas, line breaks
// and doubled quotes (one quote each). Text after a closing quote is kept as it stands.
// Records end at LF, CRLF or CR, or at the end of the file; empty lines are skipped, so
// an empty value of a one-column file must be written "". A UTF-8 byte order mark at the
// start is skipped; fields come back in the file's bytes. An unterminated quote raises
// EDatabaseError with the file name and line; a file that cannot be opened or read
// raises EInOutError.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rtl/FileStream.h"

namespace mlt {

class TCsvReader {
public:
    explicit TCsvReader(const std::string& path);

    // The next record's fields; false, with no fields, at the end of the file.
    bool ReadRecord(std::vector<std::string>& fields);

    // Byte offset of the next unread byte, and its line (0 once unknown).
    std::int64_t Offset() const { return bufferOffset_ + static_cast<std::int64_t>(pos_); }
    int Line() const { return line_; }
    // Where the record last read starts: its byte offset, and "line N" (or "byte N" when
    // the line is unknown) for messages.
    std::int64_t RecordOffset() const { return recordOffset_; }
    std::string RecordPlace() const;
    const std::string& Path() const { return file_.Path(); }

    // Goes on reading at a record start; line numbers count from `line` (0: unknown).
    void Seek(std::int64_t offset, int line);

private:
    int Peek();
    int Get();
    void EndLine(int c);
    std::string Place(int line, std::int64_t offset) const;

    TFileStream file_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t length_ = 0;
    std::int64_t bufferOffset_ = 0;
    int line_ = 1;
    int recordLine_ = 0;
    std::int64_t recordOffset_ = 0;
};

}  // namespace mlt
