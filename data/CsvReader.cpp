#include "data/CsvReader.h"

#include <algorithm>
#include <array>

#include "rtl/CodePage.h"
#include "rtl/Exception.h"
#include "rtl/SeekableInput.h"
#include "rtl/TextUtils.h"

namespace mlt {

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
constexpr int kEnd = -1;
constexpr std::array kDelimiters = {',', ';', '\t', '|'};
constexpr int kSampleLines = 20;
}  // namespace

TCsvReader::TCsvReader(const std::string& path, char delimiter, TCsvEncoding encoding)
    : name_(path == "-" ? "standard input" : path),
      file_(OpenSeekableInput(path)),
      delimiter_(delimiter),
      encoding_(encoding),
      buffer_(std::make_unique_for_overwrite<char[]>(kBufferSize)) {
    if (Peek() == 0xEF && length_ >= 3 && buffer_[1] == '\xBB' && buffer_[2] == '\xBF') pos_ = 3;
    if (delimiter_ == kAutoDelimiter) delimiter_ = DetectDelimiter();
}

// The candidate that splits the first lines in the buffer into the same number of fields,
// the most of them; failing that, the commonest one on the first line; else a comma.
char TCsvReader::DetectDelimiter() const {
    std::array<std::vector<int>, kDelimiters.size()> counts;
    std::array<int, kDelimiters.size()> current{};
    bool quoted = false;
    int lines = 0;
    for (std::size_t i = pos_; i < length_ && lines < kSampleLines; ++i) {
        char c = buffer_[i];
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\n' || c == '\r') {
            if (current == std::array<int, kDelimiters.size()>{}) continue;  // an empty line, or CRLF
            for (std::size_t k = 0; k < kDelimiters.size(); ++k) counts[k].push_back(current[k]);
            current = {};
            ++lines;
            continue;
        }
        for (std::size_t k = 0; k < kDelimiters.size(); ++k) current[k] += c == kDelimiters[k];
    }
    if (lines == 0)
        for (std::size_t k = 0; k < kDelimiters.size(); ++k) counts[k].push_back(current[k]);
    char best = ',';
    int bestEven = 0, bestFirst = 0;
    bool even = false;
    for (std::size_t k = 0; k < kDelimiters.size(); ++k) {
        const std::vector<int>& seen = counts[k];
        const bool same = std::all_of(seen.begin(), seen.end(), [&](int n) { return n == seen.front(); });
        if (same && seen.front() > bestEven) {
            best = kDelimiters[k];
            bestEven = seen.front();
            even = true;
        } else if (!even && seen.front() > bestFirst) {
            best = kDelimiters[k];
            bestFirst = seen.front();
        }
    }
    return best;
}

// A field, converted to UTF-8 unless the file is UTF-8 already or the field plain ASCII.
void TCsvReader::AddField(std::string& field, std::vector<std::string>& fields) const {
    if (encoding_ != TCsvEncoding::Utf8 && !IsAscii(field))
        field = WideToUtf8(encoding_ == TCsvEncoding::Windows1252 ? Windows1252ToWide(field) : Latin1ToWide(field));
    fields.push_back(field);
}

int TCsvReader::Peek() {
    if (pos_ == length_) {
        bufferOffset_ += static_cast<std::int64_t>(length_);
        pos_ = 0;
        length_ = file_->Read(buffer_.get(), kBufferSize);
        if (length_ == 0) return kEnd;
    }
    return static_cast<unsigned char>(buffer_[pos_]);
}

int TCsvReader::Get() {
    int c = Peek();
    if (c != kEnd) ++pos_;
    return c;
}

// After a CR or LF has been read: a CRLF pair is one line break.
void TCsvReader::EndLine(int c) {
    if (c == '\r' && Peek() == '\n') Get();
    if (line_ > 0) ++line_;
}

void TCsvReader::Seek(std::int64_t offset, int line) {
    file_->Seek(offset, TSeekOrigin::Beginning);
    bufferOffset_ = offset;
    pos_ = length_ = 0;
    line_ = line;
}

std::string TCsvReader::Place(int line, std::int64_t offset) const {
    return line > 0 ? "line " + IntToStr(line) : "byte " + IntToStr(offset);
}

std::string TCsvReader::RecordPlace() const { return Place(recordLine_, recordOffset_); }

bool TCsvReader::ReadRecord(std::vector<std::string>& fields) {
    fields.clear();
    int c;
    while ((c = Peek()) == '\r' || c == '\n') EndLine(Get());
    if (c == kEnd) return false;
    recordOffset_ = Offset();
    recordLine_ = line_;
    std::string field;
    for (;;) {
        field.clear();
        if (Peek() == '"') {
            int quoteLine = line_;
            std::int64_t quoteOffset = Offset();
            Get();
            for (;;) {
                c = Get();
                if (c == kEnd)
                    throw EDatabaseError(Path() + ": " + Place(quoteLine, quoteOffset) + ": unterminated quoted field");
                if (c == '"') {
                    if (Peek() != '"') break;
                    Get();
                } else if (c == '\n' || (c == '\r' && Peek() != '\n')) {
                    if (line_ > 0) ++line_;
                }
                field += static_cast<char>(c);
            }
        }
        while ((c = Peek()) != kEnd && c != static_cast<unsigned char>(delimiter_) && c != '\r' && c != '\n') field += static_cast<char>(Get());
        AddField(field, fields);
        c = Get();
        if (c == static_cast<unsigned char>(delimiter_)) continue;
        if (c != kEnd) EndLine(c);
        return true;
    }
}

}  // namespace mlt
