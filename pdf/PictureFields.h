// Checks the size and count fields of a BMP, PNG, JPEG or GIF picture that stb_image trusts
// without checking them itself, before the decoder runs: PNG chunk lengths and JPEG segment
// lengths against the bytes present, the code counts of JPEG Huffman tables, and picture
// dimensions that would pass the decoder's guards (a zero GIF screen, a BMP of no width or
// of the one height that has no absolute value). Data of any other kind passes, and is left
// to the decoder to refuse.
#pragma once

#include <string>
#include <string_view>

namespace mlt {

// The first field that the decoder must not see, named with its value, or "" when none.
std::string FindBadPictureField(std::string_view data);

}  // namespace mlt
