#include "pdf/fonts/Flate.h"

#include <libdeflate.h>

#include <new>

namespace mlt {

TFlateCompressor::TFlateCompressor(int level) : compressor_(libdeflate_alloc_compressor(level)) {
    if (!compressor_) throw std::bad_alloc();
}

TFlateCompressor::~TFlateCompressor() { libdeflate_free_compressor(compressor_); }

std::string TFlateCompressor::Compress(std::string_view data) {
    std::string out(libdeflate_zlib_compress_bound(compressor_, data.size()), '\0');
    out.resize(libdeflate_zlib_compress(compressor_, data.data(), data.size(), out.data(), out.size()));
    return out;
}

}  // namespace mlt
