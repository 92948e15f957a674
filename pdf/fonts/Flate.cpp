#include "pdf/fonts/Flate.h"

#include <libdeflate.h>

#include <memory>
#include <new>

namespace mlt {

std::string FlateCompress(std::string_view data, int level) {
    std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)> compressor(
        libdeflate_alloc_compressor(level), &libdeflate_free_compressor);
    if (!compressor) throw std::bad_alloc();
    std::string out(libdeflate_zlib_compress_bound(compressor.get(), data.size()), '\0');
    out.resize(libdeflate_zlib_compress(compressor.get(), data.data(), data.size(), out.data(), out.size()));
    return out;
}

}  // namespace mlt
