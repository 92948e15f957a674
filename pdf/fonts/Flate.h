// Flate (zlib) compression of a whole buffer with libdeflate, for PDF streams.
#pragma once

#include <string>
#include <string_view>

namespace mlt {

// Level 1 (fastest) to 12 (smallest); 9 suits data written once, such as a font file.
std::string FlateCompress(std::string_view data, int level = 9);

}  // namespace mlt
