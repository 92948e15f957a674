// TCsvReader: splits a CSV file into records of fields, streaming it through a buffer.
// The path "-" is standard input; input that cannot seek is copied to a temporary file
// first (see SeekableInput.h). Fields are separated by the delimiter (a comma unless
// told; kAutoDelimiter picks, from the first lines, the one of , ; tab | that splits
// them most evenly). A field in double quotes may hold delimiters, line breaks and
// doubled quotes (one quote each). Text after a closing quote is kept as it stands.
// Records end at LF, CRLF or CR, or at the end of the file; empty lines are skipped, so
// an empty value of a one-column file must be written "". A UTF-8 byte order mark at the
// start is skipped; fields come back as UTF-8, converted from the file's encoding. An
// unterminated quote raises EDatabaseError with the file name and line; a file that
// cannot be opened or read raises EInOutError.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <memory>

#include "rtl/FileStream.h"

namespace mlt {

enum class TCsvEncoding { Utf8, Windows1252, Latin1 };

constexpr char kAutoDelimiter = '\0';

class TCsvReader {
public:
    explicit TCsvReader(const std::string& path, char delimiter = ',', TCsvEncoding encoding = TCsvEncoding::Utf8);

    // The next record's fields; false, with no fields, at the end of the file.
    bool ReadRecord(std::vector<std::string>& fields);

    // Byte offset of the next unread byte, and its line (0 once unknown).
    std::int64_t Offset() const { return bufferOffset_ + static_cast<std::int64_t>(pos_); }
    int Line() const { return line_; }
    // Where the record last read starts: its byte offset, and "line N" (or "byte N" when
    // the line is unknown) for messages.
    std::int64_t RecordOffset() const { return recordOffset_; }
    std::string RecordPlace() const;
    const std::string& Path() const { return name_; }
    char Delimiter() const { return delimiter_; }

    // Goes on reading at a record start; line numbers count from `line` (0: unknown).
    void Seek(std::int64_t offset, int line);

private:
    int Peek();
    int Get();
    void EndLine(int c);
    std::string Place(int line, std::int64_t offset) const;
    char DetectDelimiter() const;
    void AddField(std::string& field, std::vector<std::string>& fields) const;

    std::string name_;
    std::unique_ptr<TFileStream> file_;
    char delimiter_;
    TCsvEncoding encoding_;
    std::unique_ptr<char[]> buffer_;  // read into before it is read, so never zeroed
    std::size_t pos_ = 0;
    std::size_t length_ = 0;
    std::int64_t bufferOffset_ = 0;
    int line_ = 1;
    int recordLine_ = 0;
    std::int64_t recordOffset_ = 0;
};

}  // namespace mlt
