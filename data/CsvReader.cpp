#include "data/CsvReader.h"

#include "rtl/Exception.h"
#include "rtl/TextUtils.h"

namespace mlt {

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
constexpr int kEnd = -1;
}  // namespace

TCsvReader::TCsvReader(const std::string& path) : file_(path, TFileMode::OpenRead), buffer_(kBufferSize) {
    if (Peek() == 0xEF && length_ >= 3 && buffer_[1] == '\xBB' && buffer_[2] == '\xBF') pos_ = 3;
}

int TCsvReader::Peek() {
    if (pos_ == length_) {
        bufferOffset_ += static_cast<std::int64_t>(length_);
        pos_ = 0;
        length_ = file_.Read(buffer_.data(), buffer_.size());
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
    file_.Seek(offset, TSeekOrigin::Beginning);
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
        while ((c = Peek()) != kEnd && c != ',' && c != '\r' && c != '\n') field += static_cast<char>(Get());
        fields.push_back(field);
        c = Get();
        if (c == ',') continue;
        if (c != kEnd) EndLine(c);
        return true;
    }
}

}  // namespace mlt
