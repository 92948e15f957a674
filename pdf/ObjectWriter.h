// TObjectWriter: how a part of a document that is not the page writer (a font, for one)
// adds objects of its own to the document being written. NewObject hands out the next
// object number; WriteObject writes that object with the given body (a dictionary, an
// array, a number); WriteStream writes a stream object from its dictionary entries (all
// but /Length and /Filter, without the << >>) and its data, compressed when the document
// compresses. Objects can be written in any order; each number is written once.
#pragma once

#include <cstdint>
#include <string_view>

namespace mlt {

class TObjectWriter {
public:
    virtual ~TObjectWriter() = default;
    virtual std::int64_t NewObject() = 0;
    virtual void WriteObject(std::int64_t number, std::string_view body) = 0;
    virtual void WriteStream(std::int64_t number, std::string_view dictionary, std::string_view data) = 0;
};

}  // namespace mlt
