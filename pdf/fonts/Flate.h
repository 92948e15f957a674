// Flate (zlib) compression of a whole buffer with libdeflate, for PDF streams.
#pragma once

#include <string>
#include <string_view>

struct libdeflate_compressor;

namespace mlt {

// One compressor at one level, kept for many buffers: setting one up costs more than
// compressing a small page. Not for two threads at once.
class TFlateCompressor {
public:
    // Level 1 (fastest) to 12 (smallest); 9 suits data written once, such as a font file.
    explicit TFlateCompressor(int level);
    ~TFlateCompressor();
    TFlateCompressor(const TFlateCompressor&) = delete;
    TFlateCompressor& operator=(const TFlateCompressor&) = delete;

    std::string Compress(std::string_view data);

private:
    libdeflate_compressor* compressor_;
};

}  // namespace mlt
