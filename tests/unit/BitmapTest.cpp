#include <gtest/gtest.h>

#include <string>

#include "pdf/Bitmap.h"
#include "rtl/Exception.h"

namespace mlt {
namespace {

// A GIF logical screen descriptor only: signature, width and height (little-endian), no
// colour table, then the trailer. The decoder would allocate width x height x 4 bytes
// twice before it finds that no image follows.
std::string GifHeader(int width, int height) {
    std::string gif = "GIF89a";
    for (int value : {width, height}) {
        gif += static_cast<char>(value & 0xFF);
        gif += static_cast<char>(value >> 8);
    }
    return gif.append("\0\0\0;", 4);
}

TEST(Bitmap, RefusesAHugePictureBeforeDecodingIt) {
    try {
        TBitmap::LoadFromMemory(GifHeader(65535, 65535), "field Photo");
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message.find("field Photo"), std::string::npos) << e.Message;
        EXPECT_NE(e.Message.find("too large (65535 x 65535 pixels)"), std::string::npos) << e.Message;
    }
    // At the limit the size alone is no reason to refuse: the missing image is.
    try {
        TBitmap::LoadFromMemory(GifHeader(4096, 4096), "field Photo");
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message.find("too large"), std::string::npos) << e.Message;
    }
}

TEST(Bitmap, RefusesAPictureOfNoRows) {
    // A 24-bit BMP whose header says 62210 pixels wide and 0 rows high, as a fuzzer found.
    std::string bmp = "BM";
    bmp.append(8, '\0').append("\x36\0\0\0\x28\0\0\0\x02\xF3\0\0\0\0\0\0\x01\0\x18\0", 20).append(24, '\0');
    try {
        TBitmap::LoadFromMemory(bmp, "field Photo");
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message.find("no pixels (62210 x 0)"), std::string::npos) << e.Message;
    }
}

}  // namespace
}  // namespace mlt
