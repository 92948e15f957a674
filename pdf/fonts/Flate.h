// Flate (zlib) compression of a whole buffer with libdeflate, for PDF streams.
#pragma once

#include <string>
#include <string_view>

namespace mlt {

std::string FlateCompress(std::string_view data);

}  // namespace mlt
